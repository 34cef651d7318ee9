// A byte buffer sized at open or play time without throwing: the output queue
// and the playback thread keep their blocks in these, so nothing is allocated
// while audio flows. Growing keeps nothing of the old contents.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace orva {

class ByteBuffer {
 public:
  // At least `size` bytes, zeroed; false (and empty) when memory runs out.
  bool resize(size_t size) {
    if (size > capacity_) {
      data_.reset(new (std::nothrow) uint8_t[size]);
      capacity_ = data_ ? size : 0;
      if (!data_) {
        size_ = 0;
        return false;
      }
    }
    size_ = size;
    for (size_t i = 0; i < size; ++i) data_[i] = 0;
    return true;
  }
  void release() {
    data_.reset();
    capacity_ = size_ = 0;
  }
  uint8_t* data() { return data_.get(); }
  const uint8_t* data() const { return data_.get(); }
  size_t size() const { return size_; }

 private:
  std::unique_ptr<uint8_t[]> data_;
  size_t capacity_ = 0;
  size_t size_ = 0;
};

}  // namespace orva
