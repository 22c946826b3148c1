#pragma once

#include <exception>
#include <string>

namespace Pym {

// The one exception of the XML layer. Its text never varies (callers match it); what went wrong
// travels beside it, in Detail(), and has gone to the trace hook as well.
class XMLLoadSaveException : public std::exception {
public:
    XMLLoadSaveException() = default;
    explicit XMLLoadSaveException(std::string detail) : detail_(std::move(detail)) {}

    const char* what() const noexcept override {
        return "XMLLoadSaveException - no working xml config files found in search path";
    }
    // The report of the failure ("XML/Tuner.xml is malformed or missing"), or empty.
    const std::string& Detail() const noexcept { return detail_; }

private:
    std::string detail_;
};

}  // namespace Pym
