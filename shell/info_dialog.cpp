// The information dialog. It edits a copy of the play list entry and writes
// the file only on 保存, 作る and 削除. Two views share the ten fields: the
// ID3 view shows the ID3v1 tag, the RIFF view the INFO text; each switch
// stores the visible fields into the copy first, so a save writes both.
// A file without an ID3v1 tag shows the texts of its ID3v2 tag, if it has
// one, in the ID3 view's disabled fields: they cannot be edited there (the
// ID3v2 tag is never written), but a tag made with 作る starts from them.
//
// The file may be the one the player holds open. A new tag over an old one
// is written in place and needs nothing; every write that changes the file's
// size replaces the file, which Windows refuses while the player holds it,
// so the player lets go of it for the write and takes it up again at the
// same place. A write that still fails says why in a message box.
#include "shell/info_dialog.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <span>
#include <string>

#include "orva_engine.h"
#include "platform/codepage.h"
#include "playlist/playlist_entry.h"
#include "resources/resource_ids.h"
#include "shell/playlist_view.h"
#include "shell/shell_state.h"
#include "tags/file_info.h"
#include "tags/id3v1.h"

namespace orva {

namespace {

enum View : int32_t { kViewId3 = 1, kViewRiff = 2 };

constexpr int32_t kDialogGenreCount = 148;
constexpr int32_t kId3TextLimit = 30;
constexpr int32_t kYearLimit = 4;
constexpr int32_t kInfoLimit = 128;
constexpr int32_t kInfoTextBytes = 127;
constexpr const char* kSoftwareName = "orva";
constexpr const char* kMessageCaption = "オルヴァ";

// The nine edit fields and the INFO slot each shows in the RIFF view.
struct InfoSlotField {
  int32_t id;
  int32_t slot;
};
constexpr InfoSlotField kInfoFields[] = {
    {IDC_INFO_YEAR, 4},     {IDC_INFO_TITLE, 0},   {IDC_INFO_ARTIST, 1},
    {IDC_INFO_ALBUM, 2},    {IDC_INFO_COMMENT, 3}, {IDC_INFO_COPYRIGHT, 6},
    {IDC_INFO_ENGINEER, 7}, {IDC_INFO_SOURCE, 8},  {IDC_INFO_SOFTWARE, 9},
};
constexpr int32_t kGenreSlot = 5;

constexpr int32_t kEditFields[] = {IDC_INFO_YEAR,     IDC_INFO_TITLE,   IDC_INFO_ARTIST,
                                   IDC_INFO_ALBUM,    IDC_INFO_COMMENT, IDC_INFO_COPYRIGHT,
                                   IDC_INFO_ENGINEER, IDC_INFO_SOURCE,  IDC_INFO_SOFTWARE};
constexpr int32_t kAllFields[] = {IDC_INFO_GENRE,  IDC_INFO_YEAR,    IDC_INFO_TITLE,     IDC_INFO_ARTIST,
                                  IDC_INFO_ALBUM,  IDC_INFO_COMMENT, IDC_INFO_COPYRIGHT, IDC_INFO_ENGINEER,
                                  IDC_INFO_SOURCE, IDC_INFO_SOFTWARE};
constexpr int32_t kId3Fields[] = {IDC_INFO_GENRE,  IDC_INFO_YEAR,  IDC_INFO_TITLE,
                                  IDC_INFO_ARTIST, IDC_INFO_ALBUM, IDC_INFO_COMMENT};
constexpr int32_t kRiffOnlyFields[] = {IDC_INFO_COPYRIGHT, IDC_INFO_ENGINEER, IDC_INFO_SOURCE, IDC_INFO_SOFTWARE};

// An ID3v2 tag's texts in the code page of the dialog.
struct Id3v2Shown {
  std::string title;
  std::string artist;
  std::string album;
  std::string year;
  std::string genre;
  std::string comment;
  bool any() const { return !(title + artist + album + year + genre + comment).empty(); }
};

struct InfoDialog {
  int32_t index = 0;
  Id3v2Shown id3v2;
  PlaylistEntry copy{};
  char path[kMaxPath] = {};  // the file, resolved against its list's folder
  int32_t view = kViewId3;
  int32_t layout = 0;
};

InfoDialog& stateOf(HWND dialog) { return *reinterpret_cast<InfoDialog*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

bool hasTag(const InfoDialog& d) { return d.layout >= 0 && (d.layout & TAG_LAYOUT_ID3V1) != 0; }
bool isRiff(const InfoDialog& d) { return d.layout >= 0 && (d.layout & (TAG_LAYOUT_WAVE | TAG_LAYOUT_RMP3)) != 0; }

// ---- Controls ----

void enable(HWND dialog, int32_t id, bool on) { EnableWindow(GetDlgItem(dialog, id), on ? TRUE : FALSE); }

void enableAll(HWND dialog, std::span<const int32_t> ids, bool on) {
  for (int32_t id : ids) enable(dialog, id, on);
}

void clearAll(HWND dialog, std::span<const int32_t> ids) {
  for (int32_t id : ids) SetDlgItemTextA(dialog, id, "");
}

bool checked(HWND dialog, int32_t id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

// A field's text, cut to `maxBytes` between characters.
void readField(HWND dialog, int32_t id, char* out, int32_t maxBytes) {
  char text[2048];
  GetDlgItemTextA(dialog, id, text, sizeof text);
  const char* end = text;
  while (*end != '\0') {
    const char* next = platform::nextChar(end);
    if (next - text > maxBytes) break;
    end = next;
  }
  const size_t length = static_cast<size_t>(end - text);
  std::memcpy(out, text, length);
  out[length] = '\0';
}

void setId3Limits(HWND dialog) {
  SendDlgItemMessageA(dialog, IDC_INFO_YEAR, EM_LIMITTEXT, kYearLimit, 0);
  for (int32_t id : {IDC_INFO_TITLE, IDC_INFO_ARTIST, IDC_INFO_ALBUM, IDC_INFO_COMMENT}) {
    SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, kId3TextLimit, 0);
  }
}

void setInfoLimits(HWND dialog) {
  for (const InfoSlotField& f : kInfoFields) SendDlgItemMessageA(dialog, f.id, EM_LIMITTEXT, kInfoLimit, 0);
}

// ---- Genre box ----

void fillGenres(HWND dialog) {
  for (int32_t genre = 0; genre < kDialogGenreCount; ++genre) {
    const LRESULT item = SendDlgItemMessageA(dialog, IDC_INFO_GENRE, CB_ADDSTRING, 0,
                                             reinterpret_cast<LPARAM>(DIALOG_GENRE_NAMES[genre]));
    SendDlgItemMessageA(dialog, IDC_INFO_GENRE, CB_SETITEMDATA, item, genre);
  }
}

// Genres the box does not list (148..255) show as an empty box.
void showGenre(HWND dialog, int32_t genre) {
  LRESULT item = CB_ERR;
  if (genre >= 0 && genre < kDialogGenreCount) {
    item = SendDlgItemMessageA(dialog, IDC_INFO_GENRE, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(DIALOG_GENRE_NAMES[genre]));
  }
  SendDlgItemMessageA(dialog, IDC_INFO_GENRE, CB_SETCURSEL, item, 0);
  if (item == CB_ERR) SetDlgItemTextA(dialog, IDC_INFO_GENRE, "");
}

void clearGenre(HWND dialog) {
  SendDlgItemMessageA(dialog, IDC_INFO_GENRE, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  SetDlgItemTextA(dialog, IDC_INFO_GENRE, "");
}

// The typed genre: the name it spells, else the first name it begins; -1
// (stored as 200) when none does. An empty box keeps a genre the box could
// not show, so opening and saving a tag of genre 251..255 leaves it alone.
int32_t genreFromBox(HWND dialog, int32_t shownGenre) {
  char text[kInfoTextBytes + 1];
  readField(dialog, IDC_INFO_GENRE, text, kInfoTextBytes);
  if (text[0] == '\0') return shownGenre >= kDialogGenreCount ? shownGenre : -1;
  const LPARAM name = reinterpret_cast<LPARAM>(text);
  const WPARAM fromStart = static_cast<WPARAM>(-1);
  LRESULT item = SendDlgItemMessageA(dialog, IDC_INFO_GENRE, CB_FINDSTRINGEXACT, fromStart, name);
  if (item == CB_ERR) item = SendDlgItemMessageA(dialog, IDC_INFO_GENRE, CB_FINDSTRING, fromStart, name);
  if (item == CB_ERR) return -1;
  return static_cast<int32_t>(SendDlgItemMessageA(dialog, IDC_INFO_GENRE, CB_GETITEMDATA, item, 0));
}

// ---- The copy and the fields ----

char* id3Text(Id3v1Record& tag, int32_t id) {
  switch (id) {
    case IDC_INFO_TITLE: return tag.title;
    case IDC_INFO_ARTIST: return tag.artist;
    case IDC_INFO_ALBUM: return tag.album;
    default: return tag.comment;
  }
}

constexpr int32_t kId3TextFields[] = {IDC_INFO_TITLE, IDC_INFO_ARTIST, IDC_INFO_ALBUM, IDC_INFO_COMMENT};

// A field of 30 spaces reads as one space: shown as nothing. The year keeps
// its bytes in the tag but shows without trailing spaces.
void tidyTag(Id3v1Record& tag) {
  for (char* text : {tag.title, tag.artist, tag.album, tag.comment, tag.year}) {
    if (std::strcmp(text, " ") == 0) text[0] = '\0';
  }
  for (int32_t i = 3; i >= 0 && tag.year[i] == ' '; --i) tag.year[i] = '\0';
}

void showTag(HWND dialog, InfoDialog& d) {
  showGenre(dialog, d.copy.tag.genre);
  SetDlgItemTextA(dialog, IDC_INFO_YEAR, d.copy.tag.year);
  for (int32_t id : kId3TextFields) SetDlgItemTextA(dialog, id, id3Text(d.copy.tag, id));
}

void collectTag(HWND dialog, InfoDialog& d) {
  d.copy.tag.genre = genreFromBox(dialog, d.copy.tag.genre);
  readField(dialog, IDC_INFO_YEAR, d.copy.tag.year, kYearLimit);
  for (int32_t id : kId3TextFields) readField(dialog, id, id3Text(d.copy.tag, id), kId3TextLimit);
}

void showInfoText(HWND dialog, InfoDialog& d) {
  SendDlgItemMessageA(dialog, IDC_INFO_GENRE, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  SetDlgItemTextA(dialog, IDC_INFO_GENRE, d.copy.infoText.slots[kGenreSlot]);
  for (const InfoSlotField& f : kInfoFields) SetDlgItemTextA(dialog, f.id, d.copy.infoText.slots[f.slot]);
}

void collectInfoText(HWND dialog, InfoDialog& d) {
  readField(dialog, IDC_INFO_GENRE, d.copy.infoText.slots[kGenreSlot], kInfoTextBytes);
  for (const InfoSlotField& f : kInfoFields) readField(dialog, f.id, d.copy.infoText.slots[f.slot], kInfoTextBytes);
}

Id3v2Shown readId3v2Shown(const char* path) {
  Id3v2Texts texts;
  if (readFileInfoAt(path, nullptr, nullptr, nullptr, nullptr, &texts) != ENGINE_OK) return {};
  const auto shown = [](const std::string& utf8) { return platform::utf8ToActiveCodePage(utf8); };
  return {shown(texts.title), shown(texts.artist), shown(texts.album),
          shown(texts.year),  shown(texts.genre),  shown(texts.comment)};
}

void showId3v2(HWND dialog, const Id3v2Shown& texts) {
  SendDlgItemMessageA(dialog, IDC_INFO_GENRE, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  SetDlgItemTextA(dialog, IDC_INFO_GENRE, texts.genre.c_str());
  SetDlgItemTextA(dialog, IDC_INFO_YEAR, texts.year.c_str());
  SetDlgItemTextA(dialog, IDC_INFO_TITLE, texts.title.c_str());
  SetDlgItemTextA(dialog, IDC_INFO_ARTIST, texts.artist.c_str());
  SetDlgItemTextA(dialog, IDC_INFO_ALBUM, texts.album.c_str());
  SetDlgItemTextA(dialog, IDC_INFO_COMMENT, texts.comment.c_str());
}

void clearAllFields(HWND dialog) {
  clearGenre(dialog);
  clearAll(dialog, kEditFields);
}

// ---- MPEG summary ----

void showMpegTitle(HWND dialog, const FileInfo& info) {
  char text[128];
  switch (info.version) {
    case 1: std::snprintf(text, sizeof text, "MPEG情報( MPEG 1.0 layer %d )", info.layer); break;
    case 2: std::snprintf(text, sizeof text, "MPEG情報( MPEG 2.0 layer %d )", info.layer); break;
    case 3: std::snprintf(text, sizeof text, "MPEG情報( MPEG 2.5 layer %d )", info.layer); break;
    default: std::snprintf(text, sizeof text, "MPEG情報 ( MPEG %d layer %d )", info.version, info.layer); break;
  }
  SetDlgItemTextA(dialog, IDC_INFO_MPEG_GROUP, text);
}

const char* modeText(int32_t mode) {
  switch (mode) {
    case 0: return "Stereo\n";
    case 1: return "Joint stereo\n";
    case 2: return "Dual channel\n";
    case 3: return "Mono\n";
    default: return "";
  }
}

const char* emphasisText(int32_t emphasis) {
  switch (emphasis) {
    case 0: return "ｴﾝﾌｫｼｽ: なし";
    case 1: return "ｴﾝﾌｫｼｽ: 50/15ms";
    case 2: return "ｴﾝﾌｫｼｽ: Reserved";
    case 3: return "ｴﾝﾌｫｼｽ: CCITT j.17";
    default: return "";
  }
}

void showMpegDetail(HWND dialog, const FileInfo& info) {
  char text[512];
  const int written = std::snprintf(
      text, sizeof text, "ﾌｧｲﾙｻｲｽﾞ: %dbytes, 演奏時間: %dsec\n%dkbit, %dframes, %dhz, %s%s%s%s%s%s", info.fileSize,
      info.seconds, info.bitrate, info.frames, info.sampleRate, modeText(info.mode),
      info.privateBit == 1 ? "個人情報: Yes " : "個人情報: No ", info.noCrc == 0 ? "ｴﾗｰ保護: Yes\n" : "ｴﾗｰ保護: No\n",
      info.copyright == 1 ? "著作権: Yes " : "著作権: No ", info.original == 1 ? "ｵﾘｼﾞﾅﾙ: Yes " : "ｵﾘｼﾞﾅﾙ: No ",
      emphasisText(info.emphasis));
  if (written > 0) SetDlgItemTextA(dialog, IDC_INFO_MPEG_DETAIL, text);
}

// ---- Writing the file the player may hold ----

bool samePath(const char* a, const char* b) {
  char fullA[kMaxPath];
  char fullB[kMaxPath];
  if (GetFullPathNameA(a, sizeof fullA, fullA, nullptr) == 0) return false;
  if (GetFullPathNameA(b, sizeof fullB, fullB, nullptr) == 0) return false;
  return lstrcmpiA(fullA, fullB) == 0;
}

// True when the engine has this file open: the track playing, paused, or
// the last one played, which stays open after it stopped.
bool openInPlayer(const char* path) {
  FileInfo header{};
  if (engineGetHeaderInfo(&header) != 1) return false;
  char current[kMaxPath];
  return resolveEntryPath(shellState().current, current, sizeof current) && samePath(current, path);
}

// What the player was doing with the file before it let go of it.
struct PlayerHold {
  bool released = false;
  int32_t state = ENGINE_STOPPED;
  int32_t sample = 0;
};

PlayerHold releaseFromPlayer(const char* path) {
  PlayerHold hold;
  if (!openInPlayer(path)) return hold;
  hold.released = true;
  hold.state = engineGetState(nullptr);
  hold.sample = engineGetPositionSamples();
  engineStop();
  engineClose();
  return hold;
}

// Why the last engine call failed: the engine's sentence, and the system's
// when there is one. Taken at once, since the next start of playback
// forgets the system's reason.
struct FailureReason {
  const char* status = "";
  char system[512] = {};
};

FailureReason lastFailureReason() {
  FailureReason reason;
  reason.status = engineGetStatusText(engineGetStatus());
  if (engineGetSystemErrorText(reason.system, sizeof reason.system) <= 0) reason.system[0] = '\0';
  return reason;
}

void showFailure(HWND dialog, const char* what, const FailureReason& reason) {
  char text[1024];
  std::snprintf(text, sizeof text, "%s\n理由: %s%s%s", what, reason.status, reason.system[0] != '\0' ? "\n" : "",
                reason.system);
  MessageBoxA(dialog, text, kMessageCaption, MB_OK | MB_ICONEXCLAMATION);
}

// Opens the file again and carries on where it was: playing or paused at the
// same sample, or stopped with the file open.
void returnToPlayer(HWND dialog, const PlayerHold& hold, const char* path) {
  if (!hold.released) return;
  ShellState& s = shellState();
  if (engineOpen(path, &s.current.streamInfo) != 1) {
    s.continueFlag = 0;  // the end-of-track tick must not take this for the end of the track
    showFailure(dialog, "再生中の曲を開き直せませんでした。", lastFailureReason());
    return;
  }
  s.totalSeconds = s.current.streamInfo.durationSeconds;
  if (hold.state == ENGINE_STOPPED) return;
  enginePlay();
  engineSeekSamples(hold.sample);
  if (hold.state == ENGINE_PAUSED) enginePause();
}

// Runs one write of the file: 1 when it succeeded; otherwise the user is told
// what failed and why. `resizes` says the write replaces the file, so the
// player must let go of it first.
template <typename Write>
bool writeFile(HWND dialog, InfoDialog& d, bool resizes, const char* failure, Write write) {
  const PlayerHold hold = resizes ? releaseFromPlayer(d.path) : PlayerHold{};
  const int32_t result = write();
  const FailureReason reason = result == 1 ? FailureReason{} : lastFailureReason();
  returnToPlayer(dialog, hold, d.path);
  if (result == 1) return true;
  showFailure(dialog, failure, reason);
  return false;
}

bool writeTag(HWND dialog, InfoDialog& d, int32_t create) {
  // Over an old tag the write is in place; the player may keep the file,
  // and its copy of the tag follows the edit at once.
  const int32_t refresh = create == 0 && openInPlayer(d.path) ? 1 : 0;
  return writeFile(dialog, d, create == 1, "ID3 TAGを保存できませんでした。",
                   [&] { return writeId3v1Tag(d.path, &d.copy.tag, refresh, create); });
}

bool writeInfoText(HWND dialog, InfoDialog& d) {
  return writeFile(dialog, d, true, "RIFF MP3の情報を保存できませんでした。",
                   [&] { return writeInfo(d.path, &d.copy.infoText); });
}

// ---- Views ----

void showId3View(HWND dialog, InfoDialog& d) {
  setId3Limits(dialog);
  if (hasTag(d)) {
    showTag(dialog, d);
  } else if (d.id3v2.any()) {
    showId3v2(dialog, d.id3v2);
  } else {
    clearGenre(dialog);
    clearAll(dialog, kId3Fields);
  }
  enableAll(dialog, kId3Fields, hasTag(d));
  enable(dialog, IDC_INFO_CREATE, !hasTag(d));
  enable(dialog, IDC_INFO_DELETE, false);
  clearAll(dialog, kRiffOnlyFields);
  enableAll(dialog, kRiffOnlyFields, false);
}

void showRiffView(HWND dialog, InfoDialog& d) {
  setInfoLimits(dialog);
  if (isRiff(d)) {
    showInfoText(dialog, d);
  } else {
    clearAllFields(dialog);
  }
  enableAll(dialog, kAllFields, isRiff(d));
  enable(dialog, IDC_INFO_CREATE, !isRiff(d));
  enable(dialog, IDC_INFO_DELETE, isRiff(d));
}

void switchView(HWND dialog, InfoDialog& d, int32_t view) {
  if (view == d.view) return;
  if (d.view == kViewId3 && hasTag(d)) collectTag(dialog, d);
  if (d.view == kViewRiff && isRiff(d)) collectInfoText(dialog, d);
  d.view = view;
  if (view == kViewId3) {
    showId3View(dialog, d);
  } else {
    showRiffView(dialog, d);
  }
}

// ---- Commands ----

bool confirm(HWND dialog, const char* question) {
  return MessageBoxA(dialog, question, "確認", MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
}

void useEntryDirectory(const PlaylistEntry& entry) {
  if (entry.listDirectory[0] != '\0') SetCurrentDirectoryA(entry.listDirectory);
}

void save(HWND dialog, InfoDialog& d) {
  PlaylistEntry* entry = shellState().playlist.entry(d.index);
  if (entry == nullptr) return (void)EndDialog(dialog, 2);
  readField(dialog, IDC_INFO_DISPLAY_TITLE, entry->displayText, kDisplayTextSize - 1);
  repaintPlaylist();
  if (checked(dialog, IDC_INFO_ID3_VIEW) && hasTag(d)) collectTag(dialog, d);
  if (checked(dialog, IDC_INFO_RIFF_VIEW) && isRiff(d)) collectInfoText(dialog, d);
  useEntryDirectory(d.copy);
  // A file with both gets both, whichever view is showing. A write that
  // failed keeps the dialog open with the user's edits, after saying why.
  const bool tagWritten = !hasTag(d) || writeTag(dialog, d, 0);
  const bool infoWritten = !isRiff(d) || writeInfoText(dialog, d);
  readEntryFrom(shellState().playlist.readFileInfo, d.path, *entry);
  if (tagWritten && infoWritten) EndDialog(dialog, 1);
}

void createTag(HWND dialog, InfoDialog& d) {
  if (hasTag(d) || !confirm(dialog, "ID3 TAGを作成します。よろしいですか？")) return;
  // The ID3v2 texts on show become the new tag's, as far as it holds them.
  if (d.id3v2.any()) collectTag(dialog, d);
  if (!d.id3v2.any() || d.copy.tag.genre < 0) d.copy.tag.genre = 255;
  writeTag(dialog, d, 1);
  d.layout = probeTagLayout(d.path);
  if (!hasTag(d)) return;
  setId3Limits(dialog);
  enableAll(dialog, kId3Fields, true);
  enable(dialog, IDC_INFO_CREATE, false);
}

void convertToRiff(HWND dialog, InfoDialog& d) {
  if (isRiff(d) || !confirm(dialog, "MP3形式からRMP3形式に変換します。よろしいですか？")) return;
  if (!writeFile(dialog, d, true, "RMP3形式に変換できませんでした。", [&] { return convertToRmp3(d.path); })) return;
  // The conversion left a tag at the end of the file; it takes the copy's
  // texts and the genre of a tag made here.
  d.copy.tag.genre = 255;
  writeTag(dialog, d, 0);
  d.layout = probeTagLayout(d.path);
  if (!isRiff(d)) return;
  std::snprintf(d.copy.infoText.slots[9], sizeof d.copy.infoText.slots[9], "%s", kSoftwareName);
  writeInfoText(dialog, d);
  SetDlgItemTextA(dialog, IDC_INFO_SOFTWARE, kSoftwareName);
  setInfoLimits(dialog);
  enableAll(dialog, kAllFields, true);
  enable(dialog, IDC_INFO_CREATE, false);
  enable(dialog, IDC_INFO_DELETE, true);
}

void convertToBare(HWND dialog, InfoDialog& d) {
  if (!isRiff(d) || !confirm(dialog, "RMP3形式からMP3形式に変換します。よろしいですか？")) return;
  writeFile(dialog, d, true, "MP3形式に変換できませんでした。", [&] { return convertToMpeg(d.path); });
  d.layout = probeTagLayout(d.path);
  if (isRiff(d)) return;
  clearAllFields(dialog);
  enableAll(dialog, kAllFields, false);
  enable(dialog, IDC_INFO_CREATE, true);
  enable(dialog, IDC_INFO_DELETE, false);
}

void onCreateButton(HWND dialog, InfoDialog& d) {
  if (d.view == kViewId3) return createTag(dialog, d);
  convertToRiff(dialog, d);
}

void onCommand(HWND dialog, int32_t id, int32_t code) {
  // Clicks, keys and accelerators only; the edits' and the box's
  // notifications change nothing until the next save or switch.
  if (code > 1 || GetWindowLongPtrA(dialog, DWLP_USER) == 0) return;
  InfoDialog& d = stateOf(dialog);
  switch (id) {
    case IDOK: return save(dialog, d);
    case IDCANCEL: return (void)EndDialog(dialog, 2);
    case IDC_INFO_ID3_VIEW: return switchView(dialog, d, kViewId3);
    case IDC_INFO_RIFF_VIEW: return switchView(dialog, d, kViewRiff);
    case IDC_INFO_CREATE: return onCreateButton(dialog, d);
    case IDC_INFO_DELETE:
      if (d.view == kViewRiff) convertToBare(dialog, d);
      return;
    default: return;
  }
}

// ---- Start ----

BOOL onInitDialog(HWND dialog, InfoDialog* d) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(d));
  PlaylistEntry* entry = shellState().playlist.entry(d->index);
  if (entry == nullptr || !resolveEntryPath(*entry, d->path, sizeof d->path)) return EndDialog(dialog, 2), TRUE;
  useEntryDirectory(*entry);
  if (readEntryFrom(shellState().playlist.readFileInfo, d->path, *entry) != 1) return EndDialog(dialog, 2), TRUE;
  d->copy = *entry;
  SetDlgItemTextA(dialog, IDC_INFO_PATH, d->copy.path);
  SetDlgItemTextA(dialog, IDC_INFO_DISPLAY_TITLE, d->copy.displayText);
  showMpegTitle(dialog, d->copy.fileInfo);
  showMpegDetail(dialog, d->copy.fileInfo);
  fillGenres(dialog);
  tidyTag(d->copy.tag);
  d->layout = probeTagLayout(d->path);
  d->id3v2 = readId3v2Shown(d->path);
  d->view = kViewId3;
  showId3View(dialog, *d);
  CheckRadioButton(dialog, IDC_INFO_ID3_VIEW, IDC_INFO_RIFF_VIEW, IDC_INFO_ID3_VIEW);
  return TRUE;
}

INT_PTR CALLBACK infoProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: return onInitDialog(dialog, reinterpret_cast<InfoDialog*>(lParam));
    case WM_COMMAND: return onCommand(dialog, LOWORD(wParam), HIWORD(wParam)), TRUE;
    case WM_CLOSE: return EndDialog(dialog, 2), TRUE;
    case WM_DESTROY: return InvalidateRect(shellState().mainWindow, nullptr, FALSE), FALSE;
    default: return FALSE;
  }
}

}  // namespace

int32_t showInfoDialog(HWND owner, int32_t entryIndex) {
  std::unique_ptr<InfoDialog> state(new (std::nothrow) InfoDialog);
  if (state == nullptr) return 2;
  state->index = entryIndex;
  const INT_PTR result =
      DialogBoxParamA(shellState().appInstance, IDD_INFO, owner, infoProc, reinterpret_cast<LPARAM>(state.get()));
  return result == 1 ? 1 : 2;
}

}  // namespace orva
