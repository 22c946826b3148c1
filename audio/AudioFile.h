#pragma once

#include <string>
#include <vector>

// libsndfile, loaded when first needed rather than linked: a machine without it still runs,
// with silent sample clicks. Its functions are looked up on every call.
class SndfileLibrary {
public:
    SndfileLibrary();
    ~SndfileLibrary();
    SndfileLibrary(const SndfileLibrary&) = delete;
    SndfileLibrary& operator=(const SndfileLibrary&) = delete;

    void* Handle() const { return handle_; }
    void* Function(const char* name) const;

private:
    void* handle_;
};

SndfileLibrary& DllSndfileLibraryInstance();

// Decodes a sound file into mono samples at `targetRate`, cut to `maxLengthMs`. Returns the
// length limit in samples, or 0 when the file cannot be read (and `out` is left untouched).
// Never throws.
int LoadAudioFile(const std::string& path, std::vector<float>& out, float maxLengthMs,
                  int targetRate);
