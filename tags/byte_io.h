// Byte-level access for the tag code: every reader works over a ByteSource
// and every writer produces its result into a ByteSink, so the same routines
// run over files (the engine, the writers) and over memory (tests and the
// fuzz harnesses).
#pragma once

#include <cstdint>

#include "platform/file.h"

namespace orva {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Length in bytes; -1 when it cannot be learned.
  virtual int64_t size() = 0;
  // Exactly `count` bytes at `offset`, or false.
  virtual bool readAt(int64_t offset, void* buffer, int64_t count) = 0;
  // True once a read of bytes that are there has failed: readers take a
  // false readAt for "not there", so writers must ask this before trusting
  // what they rendered.
  virtual bool failed() const { return false; }
};

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // All `count` bytes appended, or false.
  virtual bool write(const void* data, int64_t count) = 0;
};

// An open file as a source. The file position moves with every read.
class FileSource final : public ByteSource {
 public:
  explicit FileSource(platform::File& file) : file_(file), size_(file.size()) {}
  int64_t size() override { return size_; }
  bool readAt(int64_t offset, void* buffer, int64_t count) override;
  bool failed() const override { return failed_; }

 private:
  platform::File& file_;
  int64_t size_;
  bool failed_ = false;
};

// Bytes in memory as a source (not owned).
class MemorySource final : public ByteSource {
 public:
  MemorySource(const uint8_t* data, int64_t size) : data_(data), size_(size) {}
  int64_t size() override { return size_; }
  bool readAt(int64_t offset, void* buffer, int64_t count) override;

 private:
  const uint8_t* data_;
  int64_t size_;
};

// The first `keep` bytes of `head` followed by `tailLength` bytes in memory
// (not owned): a rewritten file seen before it is written, so that a second
// step can work on the first one's result without a file in between.
class SplicedSource final : public ByteSource {
 public:
  SplicedSource(ByteSource& head, int64_t keep, const uint8_t* tail, int64_t tailLength)
      : head_(head), keep_(keep), tail_(tail), tailLength_(tailLength) {}
  int64_t size() override { return keep_ + tailLength_; }
  bool readAt(int64_t offset, void* buffer, int64_t count) override;
  bool failed() const override { return head_.failed(); }

 private:
  ByteSource& head_;
  int64_t keep_;
  const uint8_t* tail_;
  int64_t tailLength_;
};

// Copies `count` bytes at `offset` of `from` to `to` through a fixed buffer.
bool copyBytes(ByteSource& from, int64_t offset, int64_t count, ByteSink& to);

// Little-endian fields as RIFF stores them.
inline uint32_t readLe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}
inline uint16_t readLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline void writeLe32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}

}  // namespace orva
