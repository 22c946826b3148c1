#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <vector>

// The analysis frames of the input (2048 samples at 11025 Hz, one every 128 samples), handed
// from the audio thread to the pitch analysis on the GUI thread without either waiting. The
// audio thread only appends the reduced samples to a ring; the frames are cut on the GUI
// side, so the GUI may come by now and then and still analyse every frame since its last
// visit: the estimate's filters count frames, and a skipped frame slows a note change down.
// When more than a whole frame has piled up (the GUI was held up), the frames in between are
// stale: only the newest is taken.
class AnalysisFrame {
public:
    static constexpr int kFrame = 2048;
    static constexpr int kHop = 128;

    explicit AnalysisFrame(int frameSize = kFrame, int hop = kHop);

    // Audio thread: appends the samples. What does not fit while the GUI is held up is
    // dropped. Allocates nothing and waits for nothing.
    void Deliver(const float* samples, int count) noexcept;

    // GUI thread: copies the next frame into `out` when a hop of samples has arrived since the
    // last one; false (and `out` untouched) otherwise. The first call succeeds even before
    // any hop has arrived, with an empty frame, so the first request analyses what there is.
    bool TakeIfNew(std::vector<float>& out);

    bool HasNewFrame() const;

    // Audio thread: a callback that delivered `count` samples ends. Callbacks that follow
    // each other within a few milliseconds hand over one piece of the host's buffer; the GUI
    // learns from the pieces when the next is due, so it can wake as that one arrives.
    void EndCallback(int count, std::chrono::steady_clock::time_point at =
                                    std::chrono::steady_clock::now()) noexcept;
    // GUI thread: when the next piece is due at the pace of the last, at `sampleRate` samples
    // a second; a time long past while none has come.
    std::chrono::steady_clock::time_point NextPieceDue(double sampleRate) const;

    // Starts again from a frame of silence, so nothing heard before reaches the next frames.
    // Only while no device delivers.
    void Restart();

private:
    int frameSize_;
    int hop_;
    std::vector<float> ring_;  // a power of two long, room for two frames
    std::uint64_t mask_;
    // Positions count samples since the start; the ring starts with a frame of silence.
    std::atomic<std::uint64_t> written_{0};    // the audio thread's
    std::atomic<std::uint64_t> oldest_{0};     // the oldest sample the GUI may still read
    std::atomic<std::int64_t> pieceEnded_{0};  // steady clock, nanoseconds (audio thread)
    std::atomic<int> pieceLength_{0};          // samples (audio thread)
    std::int64_t lastCallback_ = 0;            // steady clock, nanoseconds (audio thread)
    std::uint64_t end_ = 0;                    // the end of the last frame taken (GUI)
    bool fresh_ = true;
};

AnalysisFrame& DllAnalysisFrameInstance();
