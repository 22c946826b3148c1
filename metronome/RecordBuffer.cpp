#include "metronome/RecordBuffer.h"

#include <algorithm>

#include "pym/base/Singleton.h"

namespace {
// Blocks are input buffers of 512 frames; smaller ones would fill the index first.
constexpr std::size_t kSmallestUsualBlock = 512;
}  // namespace

RecordBuffer::RecordBuffer(std::size_t capacitySamples) : capacity_(capacitySamples) {}

void RecordBuffer::Clear() {
    std::lock_guard lock(mutex_);
    if (!storage_) {
        // Untouched pages cost no memory, so the full length can be set aside up front.
        storage_.reset(new float[capacity_]);
        blocks_.reserve(capacity_ / kSmallestUsualBlock + 1);
    }
    blocks_.clear();
    used_ = 0;
    current_ = kNoBlock;
    full_ = false;
}

bool RecordBuffer::Append(const float* samples, unsigned long count) {
    std::lock_guard lock(mutex_);
    if (!storage_ || full_ || capacity_ - used_ < count || blocks_.size() == blocks_.capacity()) {
        full_ = storage_ != nullptr;
        return false;
    }
    std::copy(samples, samples + count, storage_.get() + used_);
    blocks_.push_back(Block{used_, count});
    used_ += count;
    return true;
}

void RecordBuffer::PlayNextBlock(float* out, unsigned long count) {
    std::lock_guard lock(mutex_);
    if (blocks_.empty()) {
        std::fill(out, out + count, 0.0f);
        return;
    }
    current_ = (current_ == kNoBlock || current_ + 1 >= blocks_.size()) ? 0 : current_ + 1;
    const Block& block = blocks_[current_];
    unsigned long n = std::min(block.count, count);
    const float* from = storage_.get() + block.offset;
    std::copy(from, from + n, out);
    std::fill(out + n, out + count, 0.0f);
}

void RecordBuffer::Rewind() {
    std::lock_guard lock(mutex_);
    current_ = kNoBlock;
}

std::size_t RecordBuffer::BlockCount() const {
    std::lock_guard lock(mutex_);
    return blocks_.size();
}

std::size_t RecordBuffer::SampleCount() const {
    std::lock_guard lock(mutex_);
    return used_;
}

std::vector<float> RecordBuffer::BlockSamples(std::size_t index) const {
    std::lock_guard lock(mutex_);
    if (index >= blocks_.size()) return {};
    const float* from = storage_.get() + blocks_[index].offset;
    return std::vector<float>(from, from + blocks_[index].count);
}

RecordBuffer& DllRecordBufferInstance() {
    return Pym::Singleton<RecordBuffer>::Instance();
}
