// The tag library's entry points of orva_engine.h: ID3v1-free tag work (INFO
// text, Lyrics3, lyric lines, conversions, file information). Each checks
// what the engine must allow, forwards to the tag code with the engine's
// options and reports failure through the status register. The lyric line
// list and the lyrics options are the engine's; the tag code fills and
// searches the list it is given.
#include <cstddef>
#include <cstring>
#include <memory>
#include <new>

#include "decoder/units.h"
#include "engine/engine_state.h"
#include "engine/position.h"
#include "engine/status_register.h"
#include "orva_engine.h"
#include "tags/convert.h"
#include "tags/file_info.h"
#include "tags/info_writer.h"
#include "tags/lyric_lines.h"
#include "tags/lyrics3.h"
#include "tags/lyrics_file.h"
#include "tags/riff_walk.h"

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

int32_t fail(int32_t code) { return engineFail(code); }

// 1 for ENGINE_OK, else 0 with the status set.
int32_t finish(int32_t code) { return code == ENGINE_OK ? 1 : engineFail(code); }

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
  return lyricPositionMs(playedSeconds(), measuredSeconds(), gEngine.nominalDurationSeconds,
                         gEngine.lyricsUseMeasuredDuration);
}

std::unique_ptr<Lyrics3Fields> newFields() {
  std::unique_ptr<Lyrics3Fields> fields(new (std::nothrow) Lyrics3Fields);
  if (fields) std::memset(fields.get(), 0, sizeof *fields);
  return fields;
}

// A read that found no block is a plain 0, without a status.
int32_t finishLyrics3Read(int32_t code) { return code == kNoLyrics3Block ? 0 : finish(code); }

}  // namespace
}  // namespace orva

using namespace orva;

extern "C" {

int32_t loadLyricsText(const char* path) noexcept {
  if (!engineStopped()) return fail(ENGINE_ERR_BUSY);
  return finish(fillLyricsFromTextFile(gEngine.lyrics, path, gEngine.multiStampLines));
}

int32_t loadLyricsBeside(const char* audioPath) noexcept {
  if (!engineStopped()) return fail(ENGINE_ERR_BUSY);
  if (audioPath == nullptr || audioPath[0] == '\0') return fail(ENGINE_ERR_ARGUMENT);
  clearLyricLines(gEngine.lyrics);
  return prepareLyricsFile(gEngine.lyrics, lyricsPathFor(audioPath).c_str(), gEngine.multiStampLines) ? 1 : 0;
}

int32_t getLyricWindow(LyricWindow* window) noexcept {
  if (window == nullptr) return fail(ENGINE_ERR_ARGUMENT);
  std::memset(window, 0, sizeof *window);
  if (!gEngine.file.isOpen()) return fail(ENGINE_ERR_NO_LYRIC);
  return finish(lyricWindowAt(gEngine.lyrics, lyricPosition(), *window));
}

int32_t getLyricLineWindow(LyricLineWindow* window) noexcept {
  if (window == nullptr) return fail(ENGINE_ERR_ARGUMENT);
  std::memset(window, 0, sizeof *window);
  if (!gEngine.file.isOpen()) return fail(ENGINE_ERR_NO_LYRIC);
  return finish(lyricLineWindowAt(gEngine.lyrics, lyricPosition(), *window));
}

int32_t readLyrics3File(const char* path, Lyrics3Fields* fields) noexcept {
  if (fields == nullptr) return fail(ENGINE_ERR_ARGUMENT);
  return finishLyrics3Read(readLyrics3Fields(path, *fields));
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
  if (!finishLyrics3Read(readLyrics3Fields(path, *fields))) return 0;
  std::memcpy(shortFields, fields->indicators, 2);
  std::memcpy(shortFields + 2, fields->author, kShortFieldsSize - 2);  // AUT EAL EAR ETT are adjacent
  std::memcpy(lyrics, fields->lyrics, sizeof fields->lyrics);
  std::memcpy(info, fields->info, sizeof fields->info);
  std::memcpy(image, fields->image, sizeof fields->image);
  return 1;
}

int32_t setReadLyrics3OnOpen(int32_t enabled) noexcept {
  gEngine.readLyrics3OnOpen = enabled == 1;
  return 1;
}

int32_t loadLyricsFromLyrics3(void) noexcept {
  if (!engineStopped()) return fail(ENGINE_ERR_BUSY);
  if (!gEngine.file.isOpen()) return fail(ENGINE_ERR_NOT_OPEN);
  FileSource source(gEngine.file);
  const int32_t code = fillLyricsFromLyrics3(gEngine.lyrics, source, gEngine.multiStampLines);
  return code == kNoLyrics ? 0 : finish(code);
}

int32_t clearLyrics(void) noexcept {
  if (!engineStopped()) return fail(ENGINE_ERR_BUSY);
  clearLyricLines(gEngine.lyrics);
  return 1;
}

int32_t setMultiStampLines(int32_t enabled) noexcept {
  gEngine.multiStampLines = enabled == 1;
  return 1;
}

int32_t setLyricsUseMeasuredDuration(int32_t enabled) noexcept {
  gEngine.lyricsUseMeasuredDuration = enabled != 0;
  return 1;
}

int32_t writeLyrics3(const char* path, const Lyrics3Fields* fields) noexcept {
  if (fields == nullptr) return fail(ENGINE_ERR_ARGUMENT);
  return finish(writeLyrics3Block(path, fields, gEngine.lyricsPlacement));
}

int32_t removeLyrics3(const char* path) noexcept {
  return finish(writeLyrics3Block(path, nullptr, gEngine.lyricsPlacement));
}

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
  return finish(writeLyrics3Block(path, fields.get(), gEngine.lyricsPlacement));
}

int32_t setLyricsPlacement(int32_t mode) noexcept {
  gEngine.lyricsPlacement = validLyricsPlacement(mode);
  return 1;
}

int32_t convertToWaveMpeg(const char* path) noexcept {
  return finish(convertFileToWaveMpeg(path, gEngine.lyricsPlacement));
}
int32_t convertToMpeg(const char* path) noexcept { return finish(convertFileToMpeg(path)); }
int32_t convertToRmp3(const char* path) noexcept { return finish(convertFileToRmp3(path, gEngine.lyricsPlacement)); }
int32_t stripLeadingHeader(const char* path) noexcept { return finish(stripFileLeadingHeader(path)); }

int32_t writeInfo(const char* path, const InfoText* text) noexcept {
  if (text == nullptr) return fail(ENGINE_ERR_ARGUMENT);
  return finish(writeInfoFile(path, *text, gEngine.lyricsPlacement));
}

int32_t writeInfoLong(const char* path, const InfoTextLong* text) noexcept {
  if (text == nullptr) return fail(ENGINE_ERR_ARGUMENT);
  return finish(writeInfoLongFile(path, *text, gEngine.lyricsPlacement));
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
  return finish(writeInfoLongFile(path, *text, gEngine.lyricsPlacement));
}

int32_t readInfoLong(const char* path, InfoTextLong* text) noexcept {
  if (text == nullptr) return fail(ENGINE_ERR_ARGUMENT);
  std::memset(text, 0, sizeof *text);
  platform::File file;
  if (path == nullptr || path[0] == '\0' || !file.open(path, platform::FileMode::Read)) return fail(ENGINE_ERR_OPEN);
  FileSource source(file);
  // A file without a data chunk or with another format is a plain 0.
  return readInfoLongFrom(source, *text) == ENGINE_OK ? 1 : 0;
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
  return finish(readFileInfoAt(path, tag, info, text, nullptr));
}

int32_t readFileInfoBrief(const char* path, Id3v1Record* tag, FileInfo* info) noexcept {
  if (tag == nullptr || info == nullptr) return fail(ENGINE_ERR_ARGUMENT);
  return finish(readFileInfoAt(path, tag, info, nullptr, nullptr));
}

int32_t readFileInfoFlags(const char* path, Id3v1Record* tag, FileInfo* info, InfoText* text, int32_t* flags) noexcept {
  if (tag == nullptr || info == nullptr || text == nullptr || flags == nullptr) return fail(ENGINE_ERR_ARGUMENT);
  return finish(readFileInfoAt(path, tag, info, text, flags));
}

int32_t getOpenFileInfoText(InfoText* text) noexcept {
  if (text == nullptr) return fail(ENGINE_ERR_ARGUMENT);
  if (!gEngine.file.isOpen()) return fail(ENGINE_ERR_OPEN);
  *text = gEngine.infoText;
  return 1;
}

int32_t probeTagLayout(const char* path) noexcept { return probeTagLayoutAt(path); }

}  // extern "C"
