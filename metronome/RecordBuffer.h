#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

// The user's recording: a list of blocks, one per input buffer, and the block that playback
// reached. The storage for the whole allowed length is set aside before recording starts,
// so the input callback only copies; when it is used up, recording stops appending and
// IsFull() says so.
class RecordBuffer {
public:
    static constexpr std::size_t kDefaultCapacity = 44100u * 600u;  // ten minutes

    explicit RecordBuffer(std::size_t capacitySamples = kDefaultCapacity);

    // GUI thread: removes every block, sets playback back to the start, and makes sure the
    // storage exists.
    void Clear();
    // Input thread: appends a copy of `count` samples as a new block; false when it does not
    // fit.
    bool Append(const float* samples, unsigned long count);
    // Output thread: moves to the next block (the first after the last, or after a rewind) and
    // copies it into `out`, silence after it; with no blocks `out` is silence.
    void PlayNextBlock(float* out, unsigned long count);
    // Playback starts again from the first block.
    void Rewind();

    bool IsFull() const { return full_.load(); }
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

    mutable std::mutex mutex_;
    std::size_t capacity_;
    std::unique_ptr<float[]> storage_;
    std::vector<Block> blocks_;
    std::size_t used_ = 0;
    std::size_t current_ = kNoBlock;
    std::atomic<bool> full_{false};
};

RecordBuffer& DllRecordBufferInstance();
