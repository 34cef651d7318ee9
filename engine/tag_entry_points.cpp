// The tag library's entry points of orva_engine.h: ID3v1-free tag work (INFO
// text, Lyrics3, lyric lines, conversions, file information). Each checks
// what the engine must allow, forwards to the tag code and reports failure
// through the status register. The lyric line list and the lyrics options
// live in the tag code; the engine hands it the play position.
#include <cstddef>
#include <cstring>
#include <memory>
#include <new>

#include "engine/engine_state.h"
#include "engine/orva_engine.h"
#include "engine/position.h"
#include "engine/units.h"
#include "tags/convert.h"
#include "tags/file_info.h"
#include "tags/info_writer.h"
#include "tags/lyric_lines.h"
#include "tags/lyrics3.h"
#include "tags/open_file_tags.h"
#include "tags/riff_walk.h"
#include "tags/status.h"

// Hosts in other languages lay these records out by hand.
static_assert(sizeof(InfoText) == 14 * 128);
static_assert(sizeof(InfoTextLong) == 17 * 2048);
static_assert(offsetof(Lyrics3Fields, lyrics) == 2);
static_assert(offsetof(Lyrics3Fields, info) == 60002);
static_assert(offsetof(Lyrics3Fields, author) == 120002);
static_assert(offsetof(Lyrics3Fields, title) == 120752);
static_assert(offsetof(Lyrics3Fields, image) == 121002);
static_assert(sizeof(Lyrics3Fields) == 181002);
static_assert(sizeof(LyricWindow) == 4 + 5 * 128);
static_assert(offsetof(LyricWindow, current) == 4 + 2 * 128);
static_assert(sizeof(LyricLineWindow) == 16 + 8 * 128);
static_assert(offsetof(LyricLineWindow, currentSegment) == 16 + 2 * 128);

namespace orva {
namespace {

constexpr size_t kShortFieldsSize = 2 + 4 * 250;  // indicators, AUT, EAL, EAR, ETT
constexpr size_t kShortText = 512;

int32_t fail(int32_t code) {
  setStatus(code);
  return 0;
}

bool engineStopped() { return gEngine.state == ENGINE_STOPPED; }

// Seconds played, as the play position is measured.
double playedSeconds() { return positionSecondsExact(); }

double measuredSeconds() {
  const MpegFrameHeader& h = gEngine.header;
  const int64_t bytes = int64_t{frameCountOf(h)} * h.outputBytesPerFrame;
  const int64_t samples = units::bytesToSamples(bytes, h.outputBits, h.outputChannels);
  return h.outputSampleRate > 0 ? static_cast<double>(samples) / h.outputSampleRate : 0;
}

double lyricPosition() {
  return lyricPositionMs(playedSeconds(), measuredSeconds(), gEngine.nominalDurationSeconds);
}

std::unique_ptr<Lyrics3Fields> newFields() {
  std::unique_ptr<Lyrics3Fields> fields(new (std::nothrow) Lyrics3Fields);
  if (fields) std::memset(fields.get(), 0, sizeof *fields);
  return fields;
}

}  // namespace
}  // namespace orva

using namespace orva;

extern "C" {

int32_t loadLyricsText(const char* path) noexcept {
  if (!engineStopped()) return fail(ENGINE_ERR_BUSY);
  return orva::loadLyricsText(path);
}

int32_t getLyricWindow(LyricWindow* window) noexcept {
  if (window == nullptr) return fail(ENGINE_ERR_ARGUMENT);
  std::memset(window, 0, sizeof *window);
  if (!gEngine.file.isOpen()) return fail(ENGINE_ERR_NO_LYRIC);
  const int32_t code = lyricWindowAt(lyricPosition(), *window);
  return code == ENGINE_OK ? 1 : fail(code);
}

int32_t getLyricLineWindow(LyricLineWindow* window) noexcept {
  if (window == nullptr) return fail(ENGINE_ERR_ARGUMENT);
  std::memset(window, 0, sizeof *window);
  if (!gEngine.file.isOpen()) return fail(ENGINE_ERR_NO_LYRIC);
  const int32_t code = lyricLineWindowAt(lyricPosition(), *window);
  return code == ENGINE_OK ? 1 : fail(code);
}

int32_t readLyrics3File(const char* path, Lyrics3Fields* fields) noexcept {
  if (fields == nullptr) return fail(ENGINE_ERR_ARGUMENT);
  return orva::readLyrics3File(path, *fields);
}

int32_t readLyrics3FileSplit(const char* path, char* shortFields, char* lyrics, char* info, char* image) noexcept {
  if (shortFields == nullptr || lyrics == nullptr || info == nullptr || image == nullptr)
    return fail(ENGINE_ERR_ARGUMENT);
  std::memset(shortFields, 0, kShortFieldsSize);
  std::memset(lyrics, 0, sizeof(Lyrics3Fields::lyrics));
  std::memset(info, 0, sizeof(Lyrics3Fields::info));
  std::memset(image, 0, sizeof(Lyrics3Fields::image));
  auto fields = newFields();
  if (!fields) return fail(ENGINE_ERR_MEMORY);
  if (!orva::readLyrics3File(path, *fields)) return 0;
  std::memcpy(shortFields, fields->indicators, 2);
  std::memcpy(shortFields + 2, fields->author, kShortFieldsSize - 2);  // AUT EAL EAR ETT are adjacent
  std::memcpy(lyrics, fields->lyrics, sizeof fields->lyrics);
  std::memcpy(info, fields->info, sizeof fields->info);
  std::memcpy(image, fields->image, sizeof fields->image);
  return 1;
}

int32_t setReadLyrics3OnOpen(int32_t enabled) noexcept {
  orva::setReadLyrics3OnOpen(enabled == 1);
  return 1;
}

int32_t loadLyricsFromOpenFile(void) noexcept {
  if (!engineStopped()) return fail(ENGINE_ERR_BUSY);
  if (!gEngine.file.isOpen()) return fail(ENGINE_ERR_NOT_OPEN);
  FileSource source(gEngine.file);
  return loadLyricsFromLyrics3(source);
}

int32_t clearLyrics(void) noexcept {
  if (!engineStopped()) return fail(ENGINE_ERR_BUSY);
  clearLyricLines();
  return 1;
}

int32_t setMultiStampLines(int32_t enabled) noexcept {
  orva::setMultiStampLines(enabled == 1);
  return 1;
}

int32_t setLyricsUseMeasuredDuration(int32_t enabled) noexcept {
  orva::setLyricsUseMeasuredDuration(enabled != 0);
  return 1;
}

int32_t writeLyrics3(const char* path, const Lyrics3Fields* fields) noexcept {
  if (fields == nullptr) return fail(ENGINE_ERR_ARGUMENT);
  return orva::writeLyrics3(path, fields, 1);
}

int32_t removeLyrics3(const char* path) noexcept { return orva::writeLyrics3(path, nullptr, 0); }

int32_t writeLyrics3Split(const char* path, const char* shortFields, const char* lyrics, const char* info,
                          const char* image) noexcept {
  if (shortFields == nullptr || lyrics == nullptr || info == nullptr || image == nullptr)
    return fail(ENGINE_ERR_ARGUMENT);
  auto fields = newFields();
  if (!fields) return fail(ENGINE_ERR_MEMORY);
  std::memcpy(fields->indicators, shortFields, 2);
  std::memcpy(fields->author, shortFields + 2, kShortFieldsSize - 2);
  std::memcpy(fields->lyrics, lyrics, sizeof fields->lyrics);
  std::memcpy(fields->info, info, sizeof fields->info);
  std::memcpy(fields->image, image, sizeof fields->image);
  return orva::writeLyrics3(path, fields.get(), 1);
}

int32_t setLyricsPlacement(int32_t mode) noexcept {
  orva::setLyricsPlacement(mode);
  return 1;
}

int32_t convertToWaveMpeg(const char* path) noexcept { return orva::convertToWaveMpeg(path); }
int32_t convertToMpeg(const char* path) noexcept { return orva::convertToMpeg(path); }
int32_t convertToRmp3(const char* path) noexcept { return orva::convertToRmp3(path); }
int32_t stripLeadingHeader(const char* path) noexcept { return orva::stripLeadingHeader(path); }

int32_t writeInfo(const char* path, const InfoText* text) noexcept {
  if (text == nullptr) return fail(ENGINE_ERR_ARGUMENT);
  return orva::writeInfo(path, *text);
}

int32_t writeInfoLong(const char* path, const InfoTextLong* text) noexcept {
  if (text == nullptr) return fail(ENGINE_ERR_ARGUMENT);
  return orva::writeInfoLong(path, *text);
}

int32_t writeInfoShort(const char* path, const char* texts) noexcept {
  if (texts == nullptr) return fail(ENGINE_ERR_ARGUMENT);
  std::unique_ptr<InfoTextLong> text(new (std::nothrow) InfoTextLong);
  if (!text) return fail(ENGINE_ERR_MEMORY);
  // Blank-filled 2048-byte slots; the writer trims the blanks again.
  std::memset(text.get(), ' ', sizeof *text);
  for (int i = 0; i < kInfoLongSlotCount; ++i) {
    const char* from = texts + i * kShortText;
    size_t n = 0;
    while (n < kShortText && from[n] != '\0') ++n;
    std::memcpy(text->slots[i], from, n);
    if (n < kShortText) text->slots[i][n] = '\0';
  }
  return orva::writeInfoLong(path, *text);
}

int32_t readInfoLong(const char* path, InfoTextLong* text) noexcept {
  if (text == nullptr) return fail(ENGINE_ERR_ARGUMENT);
  std::memset(text, 0, sizeof *text);
  platform::File file;
  if (path == nullptr || path[0] == '\0' || !file.open(path, platform::FileMode::Read)) return fail(ENGINE_ERR_OPEN);
  FileSource source(file);
  return orva::readInfoLong(source, *text);
}

int32_t readInfoShort(const char* path, char* texts) noexcept {
  if (texts == nullptr) return fail(ENGINE_ERR_ARGUMENT);
  std::memset(texts, 0, kInfoLongSlotCount * kShortText);
  std::unique_ptr<InfoTextLong> text(new (std::nothrow) InfoTextLong);
  if (!text) return fail(ENGINE_ERR_MEMORY);
  if (!readInfoLong(path, text.get())) return 0;
  for (int i = 0; i < kInfoLongSlotCount; ++i) {
    std::memcpy(texts + i * kShortText, text->slots[i], kShortText);
    texts[i * kShortText + kShortText - 1] = '\0';  // each text stays terminated
  }
  return 1;
}

int32_t readFileInfo(const char* path, Id3v1Record* tag, FileInfo* info, InfoText* text) noexcept {
  if (tag == nullptr || info == nullptr || text == nullptr) return fail(ENGINE_ERR_ARGUMENT);
  return orva::readFileInfo(path, tag, info, text, nullptr);
}

int32_t readFileInfoBrief(const char* path, Id3v1Record* tag, FileInfo* info) noexcept {
  if (tag == nullptr || info == nullptr) return fail(ENGINE_ERR_ARGUMENT);
  return orva::readFileInfo(path, tag, info, nullptr, nullptr);
}

int32_t readFileInfoFlags(const char* path, Id3v1Record* tag, FileInfo* info, InfoText* text,
                          int32_t* flags) noexcept {
  if (tag == nullptr || info == nullptr || text == nullptr || flags == nullptr) return fail(ENGINE_ERR_ARGUMENT);
  return orva::readFileInfo(path, tag, info, text, flags);
}

int32_t getOpenFileInfoText(InfoText* text) noexcept {
  if (text == nullptr) return fail(ENGINE_ERR_ARGUMENT);
  if (!gEngine.file.isOpen()) return fail(ENGINE_ERR_OPEN);
  *text = openFileTags().info;
  return 1;
}

int32_t probeTagLayout(const char* path) noexcept { return orva::probeTagLayout(path); }

}  // extern "C"
