#pragma once

#include <exception>

namespace Pym {

// The one exception of the XML layer. Its text never varies; the details of a failure go to
// the trace hook before it is thrown.
class XMLLoadSaveException : public std::exception {
public:
    const char* what() const noexcept override {
        return "XMLLoadSaveException - no working xml config files found in search path";
    }
};

}  // namespace Pym
