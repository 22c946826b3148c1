// Accuracy and speed of the tuner's pitch analysis on tones made here: sines and
// harmonic-rich tones from 41 Hz to 1300 Hz, on and off the note grid, clean and with noise
// 20 dB below the tone. Each set runs twice: made at 11025 Hz straight into the sliding frame
// (the estimator and filters alone), and made at 44100 Hz through the whole input path, whose
// reduction by four is a plain average that folds partials above 5.5 kHz into the band.
// Prints numbers; the goals are median error < 0.5 cent and 95th percentile < 2 cents on
// steady tones, no octave errors on harmonic-rich tones, < 50 us per estimate with its octave
// check, and a shown value never more than 50 cents from both notes during a change.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>
#include <limits>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "audio/AnalysisFrame.h"
#include "audio/dsp/HarmonicCheck.h"
#include "audio/dsp/SpectrumEstimator.h"
#include "audio/dsp/Window.h"
#include "bench/SyntheticTone.h"
#include "bench/TunerInputPath.h"
#include "settings/AppSettings.h"
#include "tuner/PitchAnalyser.h"

namespace {

constexpr double kRate = TunerInputPath::kInputRate;
// Frames that see only the tone: the sliding frame must first be filled past any silence.
constexpr int kFillBuffers =
    TunerInputPath::kFrameSize * TunerInputPath::kReduction / TunerInputPath::kBufferFrames;
constexpr int kMeasuredFrames = 40;
constexpr double kClean = std::numeric_limits<double>::infinity();  // no noise

double Cents(double measured, double truth) {
    return 1200.0 * std::log2(measured / truth);
}

// An estimate a whole octave (or another harmonic ratio) away from the truth.
bool OctaveError(double cents) {
    for (double ratio : {2.0, 3.0, 4.0, 5.0, 6.0})
        if (std::fabs(std::fabs(cents) - 1200.0 * std::log2(ratio)) < 100.0) return true;
    return false;
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return std::nan("");
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(std::ceil(p * values.size()));
    return values[std::min(std::max(rank, std::size_t{1}), values.size()) - 1];
}

struct Stats {
    std::vector<double> rawErrors;    // |cents| of every estimate, octave errors excluded
    std::vector<double> shownErrors;  // |cents| of the displayed frequency
    int estimates = 0;
    int octaveErrors = 0;
    int grossErrors = 0;  // more than 50 cents off, not an octave error
    int gated = 0;

    void Print(const char* label) const {
        std::printf(
            "  %-34s %6d est  median %6.3f  p95 %6.3f  shown median %6.3f p95 %6.3f  "
            "octave %5.2f%%  gross %5.2f%%  gated %d\n",
            label, estimates, Percentile(rawErrors, 0.5), Percentile(rawErrors, 0.95),
            Percentile(shownErrors, 0.5), Percentile(shownErrors, 0.95),
            estimates ? 100.0 * octaveErrors / estimates : 0.0,
            estimates ? 100.0 * grossErrors / estimates : 0.0, gated);
    }
};

// Feeds a tone made at 11025 Hz straight into the analysis frames, bypassing the reduction:
// the estimator and filters alone.
void FeedReduced(const std::vector<float>& tone, AnalysisFrame& frames, PitchAnalyser& analyser,
                 const TunerInputPath::OnAnalysis& onAnalysis) {
    const int hop = TunerInputPath::kHop;
    for (std::size_t at = 0; at + hop <= tone.size(); at += hop) {
        frames.Deliver(tone.data() + at, hop);
        if (!analyser.HasNewFrame()) continue;
        analyser.GetFrequency();
        onAnalysis(static_cast<double>(at + hop) / 11025.0);
    }
}

// One tone through a fresh analyser; every frame after the fill is scored.
void MeasureTone(const std::vector<float>& tone, bool atInputRate, double truth, Stats& stats) {
    AnalysisFrame frames;
    AppSettings settings;
    PitchAnalyser analyser(frames, settings);
    TunerInputPath path(frames, analyser);
    int frame = 0;
    auto score = [&](double) {
        if (++frame <= kFillBuffers) return;
        if (!analyser.LastPassedGate()) {
            ++stats.gated;
            return;
        }
        ++stats.estimates;
        // The estimate after its octave check, as the filters receive it.
        const double cents = Cents(analyser.LastFundamental(), truth);
        if (OctaveError(cents))
            ++stats.octaveErrors;
        else if (std::fabs(cents) > 50.0)
            ++stats.grossErrors;
        else
            stats.rawErrors.push_back(std::fabs(cents));
        // The display after the filters have seen ten agreeing frames.
        if (frame > kFillBuffers + 10)
            stats.shownErrors.push_back(std::fabs(Cents(analyser.GetFrequency(), truth)));
    };
    if (atInputRate)
        path.Feed(tone, score);
    else
        FeedReduced(tone, frames, analyser, score);
}

// `atInputRate`: tones made at 44100 Hz (partials up to 20 kHz) go through the whole input
// path with its reduction by four; otherwise tones made at 11025 Hz (partials below 5 kHz)
// go straight into the sliding frame.
void Accuracy(bool atInputRate) {
    std::printf("%s\n", atInputRate
                            ? "Through the input path: 44100 Hz tones, reduced by four"
                            : "Estimator and filters: 11025 Hz tones, straight into the frame");
    std::printf(
        "Steady tones, |error| in cents (41 Hz to 1300 Hz, %d frames per tone). The\n"
        "estimate's median and p95 leave out octave errors (a harmonic ratio away) and\n"
        "gross errors (other, over 50 cents), which are counted apart; 'shown' is the\n"
        "filtered frequency once ten frames agree, every frame included.\n",
        kMeasuredFrames);
    std::mt19937 random(2024);
    std::uniform_real_distribution<double> offGrid(-50.0, 50.0);
    const double rate = atInputRate ? kRate : 11025.0;
    const double seconds = (kFillBuffers + kMeasuredFrames) * TunerInputPath::kBufferFrames / kRate;
    Stats all;
    Stats harmonic;
    for (const Timbre& timbre : SyntheticTimbres()) {
        for (double snr : {kClean, 20.0}) {
            for (bool onGrid : {true, false}) {
                Stats stats;
                // Every semitone from E1 (41.2 Hz) to D#6 (1244.5 Hz), then up to 1300 Hz.
                for (int semitone = -41; semitone <= 19 + 1; ++semitone) {
                    double f = 440.0 * std::pow(2.0, semitone / 12.0);
                    if (semitone == 20) f = 1300.0;
                    if (!onGrid) f *= std::pow(2.0, offGrid(random) / 1200.0);
                    MeasureTone(MakeTone(timbre, f, seconds, snr, random, rate), atInputRate, f,
                                stats);
                }
                std::string label = std::string(timbre.name) +
                                    (onGrid ? ", on grid" : ", off grid") +
                                    (std::isinf(snr) ? ", clean" : ", 20 dB noise");
                stats.Print(label.c_str());
                for (Stats* total :
                     {&all, std::string(timbre.name) == "sine" ? nullptr : &harmonic}) {
                    if (!total) continue;
                    total->rawErrors.insert(total->rawErrors.end(), stats.rawErrors.begin(),
                                            stats.rawErrors.end());
                    total->shownErrors.insert(total->shownErrors.end(), stats.shownErrors.begin(),
                                              stats.shownErrors.end());
                    total->estimates += stats.estimates;
                    total->octaveErrors += stats.octaveErrors;
                    total->grossErrors += stats.grossErrors;
                    total->gated += stats.gated;
                }
            }
        }
    }
    harmonic.Print("all harmonic-rich tones");
    all.Print("all tones");
    std::printf("\n");
}

// Time from a note change until the shown frequency is within 5 cents of the new note and
// stays there, and how far the shown frequency strays from both notes meanwhile.
void Settling() {
    std::printf(
        "Settling after a note change, through the input path (shown frequency within 5\n"
        "cents of the new note from then on; 'between': the largest distance of the shown\n"
        "frequency from the nearer of the two notes during the change):\n");
    std::mt19937 random(7);
    // A plucked-string-like tone: eight partials falling off as 1/h^2.
    const Timbre saw{"string", [](int h) { return 1.0 / (h * h); }, 8};
    const std::pair<double, double> changes[] = {
        {440.0, 329.63},  {329.63, 440.0}, {82.41, 110.0},   {110.0, 146.83}, {196.0, 246.94},
        {246.94, 329.63}, {41.2, 55.0},    {523.25, 1046.5}, {440.0, 445.0}};
    std::vector<double> times;
    double worst = 0.0;
    for (auto [from, to] : changes) {
        AnalysisFrame frames;
        AppSettings settings;
        PitchAnalyser analyser(frames, settings);
        TunerInputPath path(frames, analyser);
        path.Feed(MakeTone(saw, from, 1.0, kClean, random, kRate), {});
        double changeTime = 1.0;
        std::vector<std::pair<double, float>> after;
        path.Feed(MakeTone(saw, to, 1.5, kClean, random, kRate),
                  [&](double t) { after.emplace_back(t, analyser.GetFrequency()); });
        double settled = NAN;
        for (std::size_t i = after.size(); i-- > 0;) {
            if (std::fabs(Cents(after[i].second, to)) > 5.0) break;
            settled = after[i].first - changeTime;
        }
        double between = 0.0;
        for (auto [t, shown] : after)
            between = std::max(
                between, std::min(std::fabs(Cents(shown, from)), std::fabs(Cents(shown, to))));
        times.push_back(settled);
        worst = std::max(worst, between);
        std::printf("  %8.2f Hz -> %8.2f Hz: %6.1f ms, between %6.1f c\n", from, to,
                    settled * 1000.0, between);
    }
    std::printf("  median %.1f ms, slowest %.1f ms, largest between %.1f c\n",
                Percentile(times, 0.5) * 1000.0, Percentile(times, 1.0) * 1000.0, worst);
}

double ThreadCpuMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

void Speed() {
    std::printf("\nSpeed:\n");
    SpectrumEstimator estimator;
    auto start = std::chrono::steady_clock::now();
    estimator.Configure(2048, true, 0.01f, 11025.0f, 16.0f, kWindowDolphChebyshev);
    auto configured = std::chrono::steady_clock::now();
    std::printf("  Configure (2048, Dolph-Chebyshev, 550 templates): %.2f ms\n",
                std::chrono::duration<double, std::milli>(configured - start).count());

    std::mt19937 random(3);
    std::vector<std::vector<float>> frames;
    for (double f : {82.41, 196.0, 440.0, 1000.0})
        frames.push_back(MakeTone(SyntheticTimbres()[1], f, 2048 / 11025.0, 20.0, random, 11025.0));
    // CPU time of this thread in batches: the machine is shared, so the best batch shows the
    // code's own cost and the median what a busy machine gives.
    std::vector<float> spectrum(2048);
    const int batches = 20;
    const int rounds = 1000;
    volatile float sink = 0.0f;
    HarmonicCheck check;
    for (bool checked : {false, true}) {
        std::vector<double> perEstimate;
        for (int batch = 0; batch < batches; ++batch) {
            const double begin = ThreadCpuMicroseconds();
            for (int i = 0; i < rounds; ++i) {
                const std::vector<float>& frame = frames[i % frames.size()];
                float f = estimator.EstimateFrequency(frame.data(), spectrum.data());
                if (checked) f = check.Fundamental(estimator, f, 0.0f);
                sink = sink + f;
            }
            perEstimate.push_back((ThreadCpuMicroseconds() - begin) / rounds);
        }
        std::printf(
            "  EstimateFrequency%s on a 2048 frame (CPU time, %d x %d): best batch %.2f us, "
            "median batch %.2f us\n",
            checked ? " + octave check" : "", batches, rounds, Percentile(perEstimate, 0.0),
            Percentile(perEstimate, 0.5));
    }
}

}  // namespace

int main() {
    Accuracy(false);
    Accuracy(true);
    Settling();
    Speed();
    return 0;
}
