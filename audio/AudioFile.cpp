#include "audio/AudioFile.h"

#include <sndfile.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <new>
#include <stdexcept>

#include "audio/PeakResampler.h"
#include "audio/Rounding.h"
#include "platform/LazyLibrary.h"
#include "pym/base/RegularFile.h"
#include "pym/base/Trace.h"

const Platform::LazyLibrary& SndfileLibrary() {
    static const Platform::LazyLibrary library("libsndfile.so.1");
    static const bool reported = [] {
        if (!library.Loaded()) Pym::Trace("libsndfile.so.1 not loaded: " + library.Error());
        return true;
    }();
    (void)reported;
    return library;
}

namespace {

using OpenFunction = decltype(&sf_open_fd);
using ReadFunction = decltype(&sf_read_float);
using CloseFunction = decltype(&sf_close);

// The three entry points, looked up afresh for one load.
struct SndfileCalls {
    OpenFunction open = nullptr;
    ReadFunction read = nullptr;
    CloseFunction close = nullptr;

    bool Complete() const { return open && read && close; }
};

SndfileCalls LookUp(const Platform::LazyLibrary& library) {
    SndfileCalls calls;
    library.Resolve("sf_open_fd", calls.open);
    library.Resolve("sf_read_float", calls.read);
    library.Resolve("sf_close", calls.close);
    return calls;
}

// Reads up to `count` items; a truncated file yields what is there.
std::vector<float> ReadItems(const SndfileCalls& calls, SNDFILE* file, sf_count_t count) {
    std::vector<float> items(static_cast<std::size_t>(count));
    sf_count_t read = calls.read(file, items.data(), count);
    items.resize(static_cast<std::size_t>(read > 0 ? read : 0));
    return items;
}

// Below this a header's rate is nonsense, and one of a few hertz would stretch a short file
// into gigabytes of resampled sound.
constexpr int kMinSampleRate = 1000;

// Decodes only the frames that cover `maxLengthMs`: the rest would be cut anyway, and reading
// it first is what costs time and memory.
void Decode(const SndfileCalls& calls, SNDFILE* file, const SF_INFO& info, std::vector<float>& out,
            float maxLengthMs, int targetRate) {
    if (info.frames <= 0 || info.channels <= 0 || info.samplerate <= 0) {
        out.clear();
        return;
    }
    const long double wanted = static_cast<long double>(info.samplerate) * maxLengthMs * 0.001L;
    const sf_count_t frames = std::min<sf_count_t>(
        info.frames, wanted > 0 ? static_cast<sf_count_t>(std::ceil(wanted)) + 1 : 0);
    if (info.channels == 1 && info.samplerate == targetRate) {
        out = ReadItems(calls, file, frames);
        return;
    }
    std::vector<float> samples = ReadItems(calls, file, frames * info.channels);
    if (info.channels == 2) samples = FoldStereoKeepingPeaks(samples);
    std::vector<float> resampled(static_cast<std::size_t>(
        Nearest(static_cast<long double>(samples.size()) * targetRate / info.samplerate)));
    PeakKeepingResample(samples, resampled, true);
    out = std::move(resampled);
}

}  // namespace

int LoadAudioFile(const std::string& path, std::vector<float>& out, float maxLengthMs,
                  int targetRate) {
    SndfileCalls calls = LookUp(SndfileLibrary());
    if (!calls.Complete()) return 0;
    // Only regular files: a FIFO would block the window thread in open() for ever.
    int fd = Pym::OpenRegularFile(path);
    if (fd < 0) return 0;
    SF_INFO info{};
    SNDFILE* file = calls.open(fd, SFM_READ, &info, /*close_desc=*/SF_TRUE);
    if (!file) {
        ::close(fd);
        return 0;
    }
    if (info.samplerate < kMinSampleRate) {
        calls.close(file);
        return 0;
    }
    std::vector<float> decoded;
    try {
        Decode(calls, file, info, decoded, maxLengthMs, targetRate);
    } catch (const std::bad_alloc&) {
        // A header claiming more than memory holds: as unreadable as a broken file.
        calls.close(file);
        return 0;
    } catch (const std::length_error&) {
        calls.close(file);
        return 0;
    }
    calls.close(file);
    long long limit = Nearest(static_cast<long double>(targetRate) * maxLengthMs * 0.001L);
    if (limit < 0) limit = 0;
    if (static_cast<long long>(decoded.size()) > limit)
        decoded.resize(static_cast<std::size_t>(limit));
    out = std::move(decoded);
    return static_cast<int>(limit);
}
