// Files as the core needs them: opened with the access and sharing the
// engine and the tag code ask for, read and written at explicit positions,
// sized and cut. Win32 gives CreateFileA semantics; POSIX gives the same
// outcomes (a directory or a missing file fails to open).
#pragma once

#include <cstdint>

namespace orva::platform {

enum class FileMode {
  Read,          // read access, others may read and write, file must exist
  ReadWrite,     // read and write access, others may read, file must exist
  CreateAlways,  // read and write access, created or emptied
};

class File {
 public:
  File() = default;
  ~File();
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;

  bool open(const char* path, FileMode mode);
  void close();
  bool isOpen() const { return handle_ != kInvalid; }

  // Bytes transferred, or -1 on failure. Short counts are normal at the end.
  int64_t read(void* buffer, int64_t size);
  int64_t write(const void* buffer, int64_t size);
  // Reads exactly `size` bytes at `offset`; false when fewer were there.
  bool readAt(int64_t offset, void* buffer, int64_t size);

  bool seek(int64_t offset);
  int64_t tell() const;
  int64_t size() const;  // -1 on failure
  bool truncateHere();   // the file ends at the current position
  bool flush();

 private:
  static constexpr intptr_t kInvalid = -1;
  intptr_t handle_ = kInvalid;
};

bool fileExists(const char* path);
bool isDirectory(const char* path);
bool removeFile(const char* path);
// Replaces `target` with `source` in one step (the old file stays whole until
// the new one takes its place).
bool replaceFile(const char* source, const char* target);

// Test-only fault injection. Tests arm a plan to prove that an operation
// which rewrites a file leaves the old file or the complete new one whatever
// fails; hosts never arm it. Counts every File read and write of the process
// from the moment the plan is armed (1-based; 0 means never).
struct FileFaultPlan {
  int64_t failReadAt = 0;      // that read fails
  int64_t failWriteAt = 0;     // that write fails, storing nothing
  int64_t shortWriteAt = 0;    // that write stores only half its bytes
  int64_t diskFullAfter = -1;  // bytes all writes may store; -1: no limit
  bool failReplace = false;    // replaceFile fails
};
void armFileFaultsForTests(const FileFaultPlan& plan);
void disarmFileFaultsForTests();
int64_t fileReadsForTests();   // reads counted since arming
int64_t fileWritesForTests();  // writes counted since arming

}  // namespace orva::platform
