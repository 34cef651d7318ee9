// Rewriting a file without ever leaving it half-written: the new content is
// built in a temporary file beside the old one, flushed, and then put in the
// old one's place in one step. Until then the old file is untouched; after a
// failure at any point it is still there as it was.
#pragma once

#include <cstdint>

#include "platform/file.h"
#include "tags/byte_io.h"

namespace orva {

class FileRewrite final : public ByteSink {
 public:
  // Nothing is created until the first write.
  explicit FileRewrite(const char* path) : target_(path) {}
  ~FileRewrite() override;  // removes the temporary file unless committed
  FileRewrite(const FileRewrite&) = delete;
  FileRewrite& operator=(const FileRewrite&) = delete;

  // The first write creates the temporary file; false when it cannot be
  // made or a write falls short (and every later write fails too).
  bool write(const void* data, int64_t count) override;
  // Flushes the new file and puts it in place of the old one; false (with
  // the old file untouched) on any failure.
  bool commit();

 private:
  bool start();
  void discard();

  platform::File out_;
  const char* target_ = nullptr;
  char tempPath_[300] = {};
  bool failed_ = false;
};

// Steps at which tests make a rewrite fail.
enum class RewriteFault { None, Begin, Write, Flush, Replace };
void setRewriteFaultForTests(RewriteFault fault);

}  // namespace orva
