// Rewriting a file without ever leaving it half-written: the new content is
// built in a temporary file beside the old one, flushed, and then put in the
// old one's place in one step. Until then the old file is untouched; after a
// failure at any point it is still there as it was.
#pragma once

#include <cstdint>

#include "orva_engine.h"
#include "platform/file.h"
#include "platform/os_error.h"
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

// Every operation that rewrites a file goes through here: the file at `path`
// is opened for reading and writing (so a file that cannot be written is
// refused before any work), `render(old, out)` writes the new content from
// the old into a rewrite, and the rewrite is committed. `render` returns 0
// or a status code. Result ENGINE_OK or the status code of the failure
// (ENGINE_ERR_OPEN when the file cannot be opened, ENGINE_ERR_WRITE when the
// new file cannot be put in place). A render may answer kRewriteNothing: the
// file stays as it is, and that is success.
inline constexpr int32_t kRewriteNothing = -1;

// Each rewrite forgets the system's reason for an earlier failure and keeps
// the reason for its own (engineGetSystemErrorText), so a host can say why a
// file could not be written.
template <typename Render>
int32_t rewriteFile(const char* path, Render&& render) {
  platform::clearOsError();
  platform::File file;
  if (path == nullptr || path[0] == '\0') return ENGINE_ERR_OPEN;
  if (!file.open(path, platform::FileMode::ReadWrite)) {
    platform::recordLastSystemError("opening the file for writing");
    return ENGINE_ERR_OPEN;
  }
  FileRewrite rewrite(path);
  int32_t code = 0;
  {
    FileSource old(file);
    code = render(static_cast<ByteSource&>(old), static_cast<ByteSink&>(rewrite));
    if (old.failed()) code = ENGINE_ERR_READ;  // what was rendered cannot be trusted
  }
  file.close();  // the old file must be free to be replaced
  if (code == kRewriteNothing) return ENGINE_OK;
  if (code == ENGINE_OK && !rewrite.commit()) code = ENGINE_ERR_WRITE;
  return code;
}

}  // namespace orva
