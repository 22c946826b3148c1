#include "bench/PitchTool.h"

#include <cmath>

#include <boost/format.hpp>

#include "audio/AnalysisFrame.h"
#include "audio/dsp/Resampler.h"
#include "bench/TunerInputPath.h"
#include "bench/WavFile.h"
#include "tuner/PitchAnalyser.h"

namespace {

void Usage(std::ostream& err) {
    err << "usage: ondrel-pitch [--raw] FILE.wav\n"
           "Prints the time (s) and the frequency (Hz) the tuner would show for every analysed\n"
           "frame; with --raw, the estimate before the filters, after its octave check (0 where\n"
           "the level gate holds).\n";
}

// Why the sound cannot be analysed, or empty. A float file may hold any number; past this
// the analysis would only make up a confident pitch from overflowing sums.
std::string Unusable(const MonoSound& sound) {
    constexpr double kSlowestRate = 1000.0, kFastestRate = 768000.0;
    constexpr float kLoudest = 1000.0f;
    if (!(sound.sampleRate >= kSlowestRate && sound.sampleRate <= kFastestRate))
        return (boost::format("a sample rate of %g Hz is not one of a sound file") %
                sound.sampleRate)
            .str();
    const double seconds = static_cast<double>(sound.samples.size()) / sound.sampleRate;
    if (seconds * TunerInputPath::kInputRate < TunerInputPath::kBufferFrames)
        return "no audio: too short for one analysed frame";
    for (float sample : sound.samples)
        if (!(std::fabs(sample) <= kLoudest)) return "samples beyond any sound's range";
    return std::string();
}

}  // namespace

int RunPitchTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    bool raw = false;
    std::string path;
    for (const std::string& argument : arguments) {
        if (argument == "--raw") {
            raw = true;
        } else if (argument == "--help" || argument == "-h" || !path.empty() ||
                   (argument.size() > 1 && argument[0] == '-')) {
            Usage(err);
            return argument == "--help" || argument == "-h" ? 0 : 2;
        } else {
            path = argument;
        }
    }
    if (path.empty()) {
        Usage(err);
        return 2;
    }

    MonoSound sound;
    std::string error;
    if (!ReadMonoSound(path, sound, error)) {
        err << "ondrel-pitch: " << path << ": " << error << "\n";
        return 1;
    }
    if (const std::string why = Unusable(sound); !why.empty()) {
        err << "ondrel-pitch: " << path << ": " << why << "\n";
        return 1;
    }
    if (sound.sampleRate != TunerInputPath::kInputRate)
        sound.samples =
            Resampler().Convert(sound.samples, sound.sampleRate, TunerInputPath::kInputRate);

    // The process's own frame store, settings and analyser, exactly as the tuner uses them.
    PitchAnalyser& analyser = DllPitchAnalyserInstance();
    TunerInputPath path44k(DllAnalysisFrameInstance(), analyser);
    path44k.Feed(sound.samples, [&](double seconds) {
        const float frequency = raw ? analyser.LastFundamental() : analyser.GetFrequency();
        out << boost::format("%.4f %.2f\n") % seconds % frequency;
    });
    return 0;
}
