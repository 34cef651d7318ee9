// The first-frame search shared by the engine's open and the file
// information read.
//
// Audio data is full of 0xFF 0xEx pairs, and so are damaged files and
// unknown headers in front of the audio; a pair that happens to parse would
// open the file with a made-up format and play its bytes as noise. So a
// candidate counts only when the stream confirms it:
// - the header at the end of its frame agrees (version, layer, sampling
//   rate), read from the source wherever it lies; or
// - its frame ends exactly where the audio data ends (at `end`, or where a
//   tag that files carry after their audio begins): a stream of exactly one
//   frame. A frame that reaches past the data, or is followed by anything
//   else, is not confirmed.
// Free format (bitrate index 0) cannot be played. Its first header found
// by the search refuses the file, but only when two more free-format
// headers of the same version, layer and sampling rate follow it at a
// constant frame spacing (padding allowed): a single look-alike in junk in
// front of real audio is skipped like any other unconfirmed candidate. A
// free-format file too short for that confirmation is refused all the same,
// since none of its candidates is a confirmed frame.
#include "tags/first_frame.h"

#include <cstring>

namespace orva {
namespace {

// Free-format frame lengths looked at: from a header with the smallest side
// information up to beyond the longest frame of any table bitrate.
constexpr int32_t kMinFreeFormatFrame = 24;
constexpr int32_t kMaxFreeFormatFrame = 6144;

enum class Verdict { Frame, FreeFormat, Rejected, ReadFailed };

// Up to `count` bytes at `offset`; the number read (0 past the end).
int64_t readUpTo(ByteSource& source, int64_t offset, uint8_t* buffer, int64_t count) {
  const int64_t size = source.size();
  if (offset < 0 || size < 0 || offset >= size) return 0;
  const int64_t n = size - offset < count ? size - offset : count;
  return source.readAt(offset, buffer, n) ? n : 0;
}

bool sameStream(const MpegFrameHeader& a, const MpegFrameHeader& b) {
  return a.version == b.version && a.layer == b.layer && a.sampleRateIndex == b.sampleRateIndex;
}

// A syntactically valid header but for its bitrate index 0.
bool isFreeFormatHeader(const uint8_t* b) {
  const bool sync = b[0] == 0xFF && ((b[1] >> 4) == 0xF || (b[1] >> 4) == 0xE);
  return sync && ((b[1] >> 1) & 3) != 0 && (b[2] >> 4) == 0 && ((b[2] >> 2) & 3) != 3;
}

// Both free format with the same version, layer and sampling rate (the
// protection, padding and mode bits may differ).
bool sameFreeFormat(const uint8_t* a, const uint8_t* b) {
  return isFreeFormatHeader(a) && isFreeFormatHeader(b) && (a[1] & 0xFE) == (b[1] & 0xFE) &&
         (a[2] & 0x0C) == (b[2] & 0x0C);
}

// Three free-format headers at `at`, at+n and at+n+m, with n and m frame
// lengths that differ by at most one padding slot.
bool freeFormatConfirmed(ByteSource& source, int64_t at, const uint8_t* head) {
  uint8_t bytes[kMaxFreeFormatFrame + 4];
  const int64_t got = readUpTo(source, at, bytes, sizeof bytes);
  int32_t n = kMinFreeFormatFrame;
  while (n + 4 <= got && !sameFreeFormat(head, bytes + n)) ++n;
  if (n + 4 > got) return false;
  const int32_t slot = ((head[1] >> 1) & 3) == 3 ? 4 : 1;  // Layer I pads by 4 bytes
  uint8_t third[4];
  for (int32_t m = n - slot; m <= n + slot; ++m) {
    if (readUpTo(source, at + n + m, third, 4) == 4 && sameFreeFormat(head, third)) return true;
  }
  return false;
}

// True when the frame at `at` is confirmed by what follows it (see above).
bool confirmedByStream(ByteSource& source, int64_t at, int64_t end, const MpegFrameHeader& header) {
  const int32_t length = firstFrameLength(header);
  if (length <= 4) return false;
  const int64_t next = at + length;
  if (next == end) return true;
  uint8_t bytes[11];
  const int64_t got = readUpTo(source, next, bytes, sizeof bytes);
  if (beginsTrailingTag(bytes, static_cast<int32_t>(got))) return true;
  MpegFrameHeader following{};
  return got >= 4 && parseFrameHeader(bytes, following) && sameStream(header, following);
}

Verdict judgeCandidate(ByteSource& source, int64_t at, int64_t end, const DecoderOptions& options,
                       MpegFrameHeader& header) {
  uint8_t head[kStreamHeaderMinBytes];
  const int64_t got = readUpTo(source, at, head, sizeof head);
  if (got < 4) return source.failed() ? Verdict::ReadFailed : Verdict::Rejected;
  if (isFreeFormatHeader(head)) {
    return freeFormatConfirmed(source, at, head) ? Verdict::FreeFormat : Verdict::Rejected;
  }
  if (!readStreamHeader(head, static_cast<int32_t>(got), options, header)) return Verdict::Rejected;
  if (confirmedByStream(source, at, end, header)) return Verdict::Frame;
  return source.failed() ? Verdict::ReadFailed : Verdict::Rejected;
}

}  // namespace

bool beginsTrailingTag(const uint8_t* bytes, int32_t length) {
  constexpr const char* kTags[] = {"TAG", "APETAGEX", "LYRICSBEGIN", "ID3"};
  for (const char* id : kTags) {
    const int32_t n = static_cast<int32_t>(std::strlen(id));
    if (length >= n && std::memcmp(bytes, id, static_cast<size_t>(n)) == 0) return true;
  }
  return false;
}

int32_t firstFrameLength(const MpegFrameHeader& header) {
  if (header.vbrHeaderFrameSize > 0) return header.vbrHeaderFrameSize;
  const int32_t bitrate = bitrateKbps(header.version, header.layer, header.bitrateIndex) * 1000;
  return frameLength(header, bitrate, sampleRateHz(header.version, header.sampleRateIndex));
}

int32_t findFirstFrame(ByteSource& source, int64_t start, int64_t end, const DecoderOptions& options, int64_t& offset,
                       MpegFrameHeader& header) {
  uint8_t window[kFirstFrameWindow];
  const int64_t got = readUpTo(source, start, window, kFirstFrameWindow);
  if (got <= 0) return ENGINE_ERR_READ;
  const int32_t length = static_cast<int32_t>(got);

  int32_t result = ENGINE_ERR_NO_SYNC;
  int32_t position = 0;
  while (position < length) {
    int32_t sync = 0;
    if (!findFrameSync(window + position, length - position, sync)) break;
    position += sync;
    MpegFrameHeader candidate{};
    switch (judgeCandidate(source, start + position, end, options, candidate)) {
      case Verdict::Frame:
        offset = start + position;
        header = candidate;
        return ENGINE_OK;
      case Verdict::FreeFormat: return ENGINE_ERR_BAD_HEADER;
      case Verdict::ReadFailed: return ENGINE_ERR_READ;
      case Verdict::Rejected: break;
    }
    result = ENGINE_ERR_BAD_HEADER;
    ++position;
  }
  return result;
}

}  // namespace orva
