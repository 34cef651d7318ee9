// Reading and writing the ID3v1 tag of a file by path. A tag over an old one
// is the only write done in place: the file keeps its size, only its last
// 128 bytes change, and the audio is never written. That also works while
// the player holds the file open, which on Windows forbids replacing it.
// Every other write renders the new content beside the file and replaces it:
// the tag appended to bare MPEG audio; appended to a RIFF file's LIST INFO
// chunk as an IID3 sub-chunk when that chunk ends the file; otherwise through
// the INFO writer, which gives the RIFF file a LIST chunk that ends with the
// tag.
#include "tags/id3v1_file.h"

#include <cstring>

#include "platform/file.h"
#include "platform/os_error.h"
#include "tags/file_rewrite.h"
#include "tags/id3v1.h"
#include "tags/info_writer.h"
#include "tags/riff_walk.h"

namespace orva {
namespace {

constexpr int64_t kIid3Length = 8 + kId3v1Size;

int32_t readTagInto(platform::File& file, Id3v1Record& tag) { return readId3v1(file, tag); }
int32_t readTagInto(platform::File& file, Id3v11Record& tag) { return readId3v11(file, tag); }

template <typename Record>
int32_t readTagFile(const char* path, Record* tag) {
  if (tag == nullptr) return ENGINE_ERR_ARGUMENT;
  std::memset(tag, 0, sizeof *tag);
  platform::File file;
  if (path == nullptr || path[0] == '\0' || !file.open(path, platform::FileMode::Read)) return ENGINE_ERR_OPEN;
  readTagInto(file, *tag);
  return ENGINE_OK;
}

// True when the LIST INFO chunk is the file's last chunk, so a sub-chunk
// appended to the file extends it.
bool listEndsFile(const RiffWalk& walk, int64_t fileSize) {
  return walk.listOffset != 0 && walk.listIsInfo && (walk.listSize & 1) == 0 &&
         walk.listOffset + 8 + walk.listSize == fileSize;
}

int32_t appendIid3(ByteSource& old, const RiffWalk& walk, const uint8_t* tag128, ByteSink& out) {
  int64_t size = old.size();
  if (size + kIid3Length - 8 > 0xFFFFFFFFll) return ENGINE_ERR_WRITE;
  uint8_t riffSize[4];
  uint8_t listSize[4];
  uint8_t header[8] = {'I', 'I', 'D', '3'};
  writeLe32(riffSize, static_cast<uint32_t>(size + kIid3Length - 8));
  writeLe32(listSize, static_cast<uint32_t>(walk.listSize + kIid3Length));
  writeLe32(header + 4, kId3v1Size);
  int64_t listSizeAt = walk.listOffset + 4;
  bool ok = copyBytes(old, 0, 4, out) && out.write(riffSize, 4) && copyBytes(old, 8, listSizeAt - 8, out) &&
            out.write(listSize, 4) && copyBytes(old, listSizeAt + 4, size - listSizeAt - 4, out) &&
            out.write(header, 8) && out.write(tag128, kId3v1Size);
  return ok ? 0 : ENGINE_ERR_WRITE;
}

// Puts the new tag over the old one in the file's last 128 bytes. A write
// that fails or falls short puts the old bytes back, so the file ends with
// one whole tag, old or new. kRewriteNothing when the file has no tag (the
// caller then rewrites the file).
int32_t overwriteTagInPlace(const char* path, const uint8_t* tag128) {
  platform::clearOsError();
  platform::File file;
  if (path == nullptr || path[0] == '\0') return ENGINE_ERR_OPEN;
  if (!file.open(path, platform::FileMode::ReadWrite)) {
    platform::recordLastSystemError("opening the file for writing");
    return ENGINE_ERR_OPEN;
  }
  const int64_t size = file.size();
  uint8_t old[kId3v1Size];
  if (size < kId3v1Size) return ENGINE_ERR_READ;
  if (!file.readAt(size - kId3v1Size, old, kId3v1Size)) return ENGINE_ERR_READ;
  if (std::memcmp(old, "TAG", 3) != 0) return kRewriteNothing;
  if (file.seek(size - kId3v1Size) && file.write(tag128, kId3v1Size) == kId3v1Size && file.flush()) return ENGINE_OK;
  platform::recordLastSystemError("writing the tag");
  if (file.seek(size - kId3v1Size)) file.write(old, kId3v1Size);
  return ENGINE_ERR_WRITE;
}

template <typename Record, typename Render>
int32_t writeTagFile(const char* path, Record* record, int32_t create, int32_t placement, uint8_t* written,
                     Render render) {
  if (record == nullptr) return ENGINE_ERR_ARGUMENT;
  render(*record, written);
  const int32_t inPlace = overwriteTagInPlace(path, written);
  if (inPlace != kRewriteNothing) return inPlace;
  return rewriteFile(
      path, [&](ByteSource& old, ByteSink& out) { return renderId3v1Rewrite(old, written, create, placement, out); });
}

}  // namespace

int32_t renderId3v1Rewrite(ByteSource& old, const uint8_t* tag128, int32_t create, int32_t placement, ByteSink& out) {
  int64_t size = old.size();
  uint8_t head[4];
  if (size < 4 || !old.readAt(0, head, 4)) return ENGINE_ERR_READ;
  bool riff = std::memcmp(head, "RIFF", 4) == 0;
  RiffWalk walk{};
  InfoText info{};
  if (riff) {
    int64_t audioStart = 0;
    int64_t audioSize = size;
    walkRiffChunks(old, info, audioStart, audioSize, walk);
  }
  uint8_t last[kId3v1Size];
  if (size < kId3v1Size || !old.readAt(size - kId3v1Size, last, kId3v1Size)) return ENGINE_ERR_READ;
  if (std::memcmp(last, "TAG", 3) == 0) {
    bool ok = copyBytes(old, 0, size - kId3v1Size, out) && out.write(tag128, kId3v1Size);
    return ok ? 0 : ENGINE_ERR_WRITE;
  }
  if (create != 1) return ENGINE_ERR_WRITE;
  if (!riff) {
    bool ok = copyBytes(old, 0, size, out) && out.write(tag128, kId3v1Size);
    return ok ? 0 : ENGINE_ERR_WRITE;
  }
  if (listEndsFile(walk, size)) return appendIid3(old, walk, tag128, out);
  // No LIST chunk to extend: a new one, keeping whatever INFO text the file had.
  return renderInfoRewrite(old, info, placement, tag128, out);
}

int32_t tagReadId3v1File(const char* path, Id3v1Record* tag) { return readTagFile(path, tag); }

int32_t tagReadId3v11File(const char* path, Id3v11Record* tag) { return readTagFile(path, tag); }

int32_t tagWriteId3v1(const char* path, Id3v1Record* tag, int32_t create, int32_t placement, uint8_t* written) {
  return writeTagFile(path, tag, create, placement, written, [](Id3v1Record& r, uint8_t* out) { renderId3v1(r, out); });
}

int32_t tagWriteId3v11(const char* path, Id3v11Record* tag, int32_t create, int32_t placement, uint8_t* written) {
  return writeTagFile(path, tag, create, placement, written,
                      [](Id3v11Record& r, uint8_t* out) { renderId3v11(r, out); });
}

}  // namespace orva
