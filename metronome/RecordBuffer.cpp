#include "metronome/RecordBuffer.h"

#include <algorithm>
#include <thread>

#include "pym/base/Singleton.h"

namespace {
// Blocks are input buffers of 512 frames; smaller ones would fill the index first.
constexpr std::size_t kSmallestUsualBlock = 512;
}  // namespace

RecordBuffer::RecordBuffer(std::size_t capacitySamples)
    : capacity_(capacitySamples), maxBlocks_(capacitySamples / kSmallestUsualBlock + 1) {}

void RecordBuffer::Clear() {
    clearing_.store(true);
    while (playing_.load()) std::this_thread::yield();
    if (!storage_) {
        // Untouched pages cost no memory, so the full length can be set aside up front.
        storage_.reset(new float[capacity_]);
        blocks_.reset(new Block[maxBlocks_]);
    }
    blockCount_.store(0, std::memory_order_relaxed);
    used_.store(0, std::memory_order_relaxed);
    full_.store(false, std::memory_order_relaxed);
    overruns_.store(0, std::memory_order_relaxed);
    rewind_.store(true, std::memory_order_relaxed);
    clearing_.store(false);
}

bool RecordBuffer::Append(const float* samples, unsigned long count) noexcept {
    const std::size_t index = blockCount_.load(std::memory_order_relaxed);
    const std::size_t used = used_.load(std::memory_order_relaxed);
    if (!storage_ || full_.load(std::memory_order_relaxed) || capacity_ - used < count ||
        index == maxBlocks_) {
        if (storage_) {
            full_.store(true, std::memory_order_release);
            overruns_.fetch_add(1, std::memory_order_relaxed);
        }
        return false;
    }
    std::copy(samples, samples + count, storage_.get() + used);
    blocks_[index] = Block{used, count};
    used_.store(used + count, std::memory_order_release);
    blockCount_.store(index + 1, std::memory_order_release);
    return true;
}

void RecordBuffer::PlayNextBlock(float* out, unsigned long count) noexcept {
    playing_.store(true);
    const std::size_t blocks = clearing_.load() ? 0 : blockCount_.load(std::memory_order_acquire);
    if (rewind_.exchange(false, std::memory_order_relaxed)) current_ = kNoBlock;
    if (blocks == 0) {
        std::fill(out, out + count, 0.0f);
        playing_.store(false);
        return;
    }
    current_ = (current_ == kNoBlock || current_ + 1 >= blocks) ? 0 : current_ + 1;
    const Block& block = blocks_[current_];
    unsigned long n = std::min(block.count, count);
    const float* from = storage_.get() + block.offset;
    std::copy(from, from + n, out);
    std::fill(out + n, out + count, 0.0f);
    playing_.store(false);
}

void RecordBuffer::Rewind() {
    rewind_.store(true, std::memory_order_relaxed);
}

std::size_t RecordBuffer::BlockCount() const {
    return blockCount_.load(std::memory_order_acquire);
}

std::size_t RecordBuffer::SampleCount() const {
    return used_.load(std::memory_order_acquire);
}

std::vector<float> RecordBuffer::BlockSamples(std::size_t index) const {
    if (index >= BlockCount()) return {};
    const float* from = storage_.get() + blocks_[index].offset;
    return std::vector<float>(from, from + blocks_[index].count);
}

RecordBuffer& DllRecordBufferInstance() {
    return Pym::Singleton<RecordBuffer>::Instance();
}
