#include "audio/AlsaDiagnostics.h"

#include <alsa/asoundlib.h>
#include <stdarg.h>
#include <stdio.h>

#include <string>

#include "pym/base/Trace.h"

namespace {

void AlsaToTrace(const char* file, int line, const char* function, int err, const char* fmt, ...) {
    char text[512];
    va_list args;
    va_start(args, fmt);
    vsnprintf(text, sizeof text, fmt, args);
    va_end(args);
    std::string message = std::string("ALSA lib ") + (file ? file : "") + ":" +
                          std::to_string(line) + ":(" + (function ? function : "") + ") " + text;
    if (err) message += std::string(": ") + snd_strerror(err);
    Pym::Trace(message);
}

}  // namespace

void RouteAlsaMessagesToTrace() {
    snd_lib_error_set_handler(&AlsaToTrace);
}
