// The conversions. To RIFF: a header in front of the audio and a fresh LIST
// INFO chunk (software "ZENFO") behind it that ends with the Lyrics3 block
// and the tag. Back to MPEG: the data chunk's audio, the block and the tag.
#include "tags/convert.h"

#include <cstring>

#include "orva_engine.h"
#include "tags/file_rewrite.h"
#include "tags/id3v1.h"
#include "tags/info_writer.h"
#include "tags/lyrics3.h"
#include "tags/riff_walk.h"

namespace orva {
namespace {

// The MPEG Layer III format record of the WAVE wrapper, written whatever
// the stream really is: tag 85, 2 channels, 44100 Hz, 16000 bytes/s, block
// align 1, 0 bits, extra 12: id 1, flags 2, block 417, 1 frame, delay 1393.
constexpr uint8_t kWaveFormat[30] = {85, 0,  2, 0, 0x44, 0xAC, 0, 0, 0x80, 0x3E, 0,    0, 1, 0,    0,
                                     0,  12, 0, 1, 0,    2,    0, 0, 0,    0xA1, 0x01, 1, 0, 0x71, 0x05};

constexpr char kZenfo[10] = {'Z', 'E', 'N', 'F', 'O', 0, 0, 0, 0, 0};

// The INFO fields of a fresh conversion, ILYC last.
constexpr InfoField kFreshFields[] = {
    {"INAM", "", 0}, {"IART", "", 0}, {"IPRD", "", 0}, {"ICMT", "", 0}, {"IGNR", "", 0},
    {"ICRD", "", 0}, {"ICOP", "", 0}, {"IENG", "", 0}, {"ISRC", "", 0}, {"ISFT", kZenfo, 10},
    {"IKEY", "", 0}, {"ITCH", "", 0}, {"ICMS", "", 0}, {"ILYC", "", 0},
};

struct Tail {
  uint8_t tag[kId3v1Size];
  bool tagged = false;
  LyricsCopy lyrics;
  int64_t lyricsLength = 0;  // of the block in the file, carried or not
};

// The tag and Lyrics3 block at the end of `old`; 0 or a status code.
int32_t readTail(ByteSource& old, Tail& tail, bool copyBlock) {
  int64_t size = old.size();
  if (size < kId3v1Size || !old.readAt(size - kId3v1Size, tail.tag, kId3v1Size)) return ENGINE_ERR_READ;
  tail.tagged = std::memcmp(tail.tag, "TAG", 3) == 0;
  if (!tail.tagged) makeBlankTag(tail.tag);
  findLyrics3(old, tail.lyricsLength);
  return copyBlock ? copyLyrics3(old, tail.lyrics) : 0;
}

// The offset where the bytes at the end of `old` stop being zero, searching
// back from `end` to `start`.
int64_t endWithoutZeros(ByteSource& old, int64_t start, int64_t end, bool& ok) {
  constexpr int64_t kBlock = 4096;
  uint8_t buffer[kBlock];
  ok = true;
  while (end > start) {
    int64_t n = end - start < kBlock ? end - start : kBlock;
    if (!old.readAt(end - n, buffer, n)) {
      ok = false;
      return end;
    }
    for (int64_t i = n; i > 0; --i)
      if (buffer[i - 1] != 0) return end - n + i;
    end -= n;
  }
  return end;
}

}  // namespace

bool insertAtFileStart(ByteSource& old, const uint8_t* bytes, int64_t count, int64_t keep, ByteSink& out) {
  return out.write(bytes, count) && copyBytes(old, 0, keep, out);
}

int32_t renderToRiff(ByteSource& old, bool wave, int32_t placement, ByteSink& out) {
  uint8_t first[4];
  if (!old.readAt(0, first, 4)) return ENGINE_ERR_READ;
  if (std::memcmp(first, "RIFF", 4) == 0) return wave ? ENGINE_ERR_RIFF_KIND : ENGINE_ERR_ALREADY_RIFF;
  if (first[0] == 0) return ENGINE_ERR_ZERO_FIRST_BYTE;
  Tail tail;
  if (int32_t code = readTail(old, tail, placement != 2)) return code;
  int64_t audio = old.size() - (tail.tagged ? kId3v1Size : 0) - tail.lyricsLength;

  ListChunk list;
  if (int32_t code = list.build(kFreshFields, 14, tail.lyrics, placement, tail.tag)) return code;
  int64_t headerSize = wave ? kWaveMpegHeaderSize : kRmp3HeaderSize;
  int64_t total = headerSize + audio + (audio & 1) + list.length();
  if (total - 8 > 0xFFFFFFFFll) return ENGINE_ERR_WRITE;

  uint8_t header[kWaveMpegHeaderSize];
  std::memcpy(header, "RIFF", 4);
  writeLe32(header + 4, static_cast<uint32_t>(total - 8));
  std::memcpy(header + 8, wave ? "WAVE" : "RMP3", 4);
  uint8_t* data = header + 12;
  if (wave) {
    std::memcpy(header + 12, "fmt ", 4);
    writeLe32(header + 16, sizeof kWaveFormat);
    std::memcpy(header + 20, kWaveFormat, sizeof kWaveFormat);
    data = header + 50;
  }
  std::memcpy(data, "data", 4);
  writeLe32(data + 4, static_cast<uint32_t>(audio));

  static constexpr uint8_t kZero = 0;
  bool ok = insertAtFileStart(old, header, headerSize, audio, out) && ((audio & 1) == 0 || out.write(&kZero, 1)) &&
            list.write(out);
  return ok ? 0 : ENGINE_ERR_WRITE;
}

int32_t renderToMpeg(ByteSource& old, ByteSink& out) {
  uint8_t riff[12];
  if (!old.readAt(0, riff, 4)) return ENGINE_ERR_READ;
  if (std::memcmp(riff, "RIFF", 4) != 0) return ENGINE_ERR_RIFF_KIND;
  if (!old.readAt(0, riff, 12)) return ENGINE_ERR_READ;
  int64_t payload = 0;
  int64_t audio = 0;
  if (int32_t code = findDataChunk(old, payload, audio)) return code;
  Tail tail;
  if (int32_t code = readTail(old, tail, true)) return code;
  bool ok = copyBytes(old, payload, audio, out) &&
            (tail.lyrics.length == 0 || out.write(tail.lyrics.block(), tail.lyrics.length)) &&
            (!tail.tagged || out.write(tail.tag, kId3v1Size));
  return ok ? 0 : ENGINE_ERR_WRITE;
}

int32_t renderWithoutLeadingHeader(ByteSource& old, ByteSink& out) {
  uint8_t first[4];
  if (!old.readAt(0, first, 4)) return ENGINE_ERR_READ;
  if (first[0] != 0) return kRewriteNothing;
  int64_t size = old.size();
  if (size < 128) return ENGINE_ERR_READ;
  // Trailing zero bytes are cut from the audio only: a tag whose genre byte
  // is 0 and a Lyrics3 block stay whole.
  Tail tail;
  if (size >= 128 + kId3v1Size) {
    if (int32_t code = readTail(old, tail, false)) return code;
  }
  int64_t tailLength = (tail.tagged ? kId3v1Size : 0) + tail.lyricsLength;
  if (size - 128 < tailLength) tailLength = 0;
  bool ok = true;
  int64_t audioEnd = endWithoutZeros(old, 128, size - tailLength, ok);
  if (!ok) return ENGINE_ERR_READ;
  ok = copyBytes(old, 128, audioEnd - 128, out) && copyBytes(old, size - tailLength, tailLength, out);
  return ok ? 0 : ENGINE_ERR_WRITE;
}

int32_t convertFileToRmp3(const char* path, int32_t placement) {
  return rewriteFile(path,
                     [placement](ByteSource& old, ByteSink& out) { return renderToRiff(old, false, placement, out); });
}

int32_t convertFileToWaveMpeg(const char* path, int32_t placement) {
  return rewriteFile(path,
                     [placement](ByteSource& old, ByteSink& out) { return renderToRiff(old, true, placement, out); });
}

int32_t convertFileToMpeg(const char* path) {
  return rewriteFile(path, [](ByteSource& old, ByteSink& out) { return renderToMpeg(old, out); });
}

int32_t stripFileLeadingHeader(const char* path) {
  return rewriteFile(path, [](ByteSource& old, ByteSink& out) { return renderWithoutLeadingHeader(old, out); });
}

}  // namespace orva
