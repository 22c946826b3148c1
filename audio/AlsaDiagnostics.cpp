#include "audio/AlsaDiagnostics.h"

#include <alsa/asoundlib.h>
#include <pthread.h>
#include <stdarg.h>
#include <stdio.h>

#include <array>
#include <atomic>
#include <string>

#include "pym/base/Trace.h"

namespace {

std::string Describe(const char* file, int line, const char* function, int err,
                     const std::string& text) {
    std::string message = std::string("ALSA lib ") + (file ? file : "") + ":" +
                          std::to_string(line) + ":(" + (function ? function : "") + ") " + text;
    if (err) message += std::string(": ") + snd_strerror(err);
    return message;
}

// A complaint made on a device thread, its text expanded into fixed room.
struct Note {
    enum State { kFree, kWriting, kReady };
    std::atomic<int> state{kFree};
    std::array<char, 64> file{};
    std::array<char, 64> function{};
    std::array<char, 160> text{};
    int line = 0;
    int err = 0;
};

std::array<Note, 8> notes;
std::atomic<unsigned> unnoted{0};
pthread_t routedOn;
std::atomic<bool> routed{false};

template <std::size_t N>
void CopyText(std::array<char, N>& to, const char* from) {
    std::size_t i = 0;
    for (; from && i + 1 < N && from[i] != '\0'; ++i) to[i] = from[i];
    to[i] = '\0';
}

// Expands the few conversions ALSA's messages use, allocating nothing and calling nothing
// that may; from the first conversion it does not know on, the format is copied as it stands.
template <std::size_t N>
void Expand(std::array<char, N>& to, const char* format, va_list args) {
    std::size_t at = 0;
    auto put = [&](char c) {
        if (at + 1 < N) to[at++] = c;
    };
    auto putText = [&](const char* text) {
        for (; text && *text; ++text) put(*text);
    };
    auto putNumber = [&](unsigned long long value, bool negative, unsigned base) {
        char digits[24];
        int n = 0;
        do {
            digits[n++] = "0123456789abcdef"[value % base];
            value /= base;
        } while (value);
        if (negative) put('-');
        while (n) put(digits[--n]);
    };
    for (const char* p = format; p && *p; ++p) {
        if (*p != '%') {
            put(*p);
            continue;
        }
        const char* conversion = p++;
        int longs = 0;
        for (; *p == 'l'; ++p) ++longs;
        const bool size = *p == 'z';
        if (size) ++p;
        if (*p == 's') {
            putText(va_arg(args, const char*));
        } else if (*p == 'c') {
            put(static_cast<char>(va_arg(args, int)));
        } else if (*p == '%') {
            put('%');
        } else if (*p == 'd' || *p == 'i') {
            const long long value = size         ? va_arg(args, long)
                                    : longs == 0 ? va_arg(args, int)
                                    : longs == 1 ? va_arg(args, long)
                                                 : va_arg(args, long long);
            putNumber(value < 0 ? 0ull - static_cast<unsigned long long>(value)
                                : static_cast<unsigned long long>(value),
                      value < 0, 10);
        } else if (*p == 'u' || *p == 'x') {
            const unsigned long long value = size         ? va_arg(args, unsigned long)
                                             : longs == 0 ? va_arg(args, unsigned)
                                             : longs == 1 ? va_arg(args, unsigned long)
                                                          : va_arg(args, unsigned long long);
            putNumber(value, false, *p == 'x' ? 16 : 10);
        } else {
            putText(conversion);
            break;
        }
    }
    to[at] = '\0';
}

void NoteForLater(const char* file, int line, const char* function, int err, const char* fmt,
                  va_list args) {
    for (Note& note : notes) {
        int free = Note::kFree;
        if (!note.state.compare_exchange_strong(free, Note::kWriting, std::memory_order_acquire))
            continue;
        CopyText(note.file, file);
        CopyText(note.function, function);
        Expand(note.text, fmt, args);
        note.line = line;
        note.err = err;
        note.state.store(Note::kReady, std::memory_order_release);
        return;
    }
    unnoted.fetch_add(1, std::memory_order_relaxed);
}

void AlsaToTrace(const char* file, int line, const char* function, int err, const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    if (pthread_equal(pthread_self(), routedOn)) {
        char text[512];
        vsnprintf(text, sizeof text, fmt, args);
        Pym::Trace(Describe(file, line, function, err, text));
    } else {
        NoteForLater(file, line, function, err, fmt, args);
    }
    va_end(args);
}

}  // namespace

void RouteAlsaMessagesToTrace() {
    if (!routed.exchange(true)) routedOn = pthread_self();
    snd_lib_error_set_handler(&AlsaToTrace);
}

int ReportAlsaMessages() {
    int traced = 0;
    for (Note& note : notes) {
        if (note.state.load(std::memory_order_acquire) != Note::kReady) continue;
        Pym::Trace(Describe(note.file.data(), note.line, note.function.data(), note.err,
                            note.text.data()) +
                   " (on the audio thread)");
        note.state.store(Note::kFree, std::memory_order_release);
        ++traced;
    }
    if (const unsigned lost = unnoted.exchange(0, std::memory_order_relaxed)) {
        Pym::Trace("ALSA lib: " + std::to_string(lost) +
                   " more messages on the audio thread were not kept");
        ++traced;
    }
    return traced;
}
