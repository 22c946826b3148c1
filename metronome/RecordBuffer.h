#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <vector>

// The user's recording: a list of blocks, one per input buffer, and the block that playback
// reached. The storage for the whole allowed length is set aside before recording starts,
// so the input callback only copies; when it is used up, recording stops appending, IsFull()
// says so and Overruns() counts the blocks that were lost.
//
// One input thread appends and one output thread plays while the GUI thread reads; neither
// audio thread ever waits. A block is written before it is published, and published blocks
// never change until Clear, which the GUI thread calls while the input is stopped and which
// waits for a block the output is copying.
class RecordBuffer {
public:
    static constexpr std::size_t kDefaultCapacity = 44100u * 600u;  // ten minutes

    explicit RecordBuffer(std::size_t capacitySamples = kDefaultCapacity);

    // GUI thread, input stopped: removes every block, sets playback back to the start, and
    // makes sure the storage exists.
    void Clear();
    // Input thread: appends a copy of `count` samples as a new block; false when it does not
    // fit.
    bool Append(const float* samples, unsigned long count) noexcept;
    // Output thread: moves to the next block (the first after the last, or after a rewind) and
    // copies it into `out`, silence after it; with no blocks `out` is silence.
    void PlayNextBlock(float* out, unsigned long count) noexcept;
    // Playback starts again from the first block.
    void Rewind();

    bool IsFull() const { return full_.load(std::memory_order_acquire); }
    // Blocks dropped because the storage was used up, since the last Clear.
    std::size_t Overruns() const { return overruns_.load(std::memory_order_relaxed); }
    std::size_t BlockCount() const;
    std::size_t SampleCount() const;
    std::size_t Capacity() const { return capacity_; }
    std::vector<float> BlockSamples(std::size_t index) const;

private:
    struct Block {
        std::size_t offset;
        unsigned long count;
    };
    static constexpr std::size_t kNoBlock = static_cast<std::size_t>(-1);

    std::size_t capacity_;
    std::size_t maxBlocks_;
    std::unique_ptr<float[]> storage_;
    std::unique_ptr<Block[]> blocks_;
    std::atomic<std::size_t> blockCount_{0};  // published blocks
    std::atomic<std::size_t> used_{0};        // samples in published blocks
    std::atomic<bool> full_{false};
    std::atomic<std::size_t> overruns_{0};
    // The output thread's position, and the request to move it back to the start.
    std::size_t current_ = kNoBlock;
    std::atomic<bool> rewind_{false};
    // Clear and the output's copy of a block exclude each other without the output waiting:
    // it skips a block while a Clear runs, and Clear waits out a copy under way.
    std::atomic<bool> clearing_{false};
    std::atomic<bool> playing_{false};
};

RecordBuffer& DllRecordBufferInstance();
