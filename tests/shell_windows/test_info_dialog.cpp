// The information dialog driven as the user drives it, on temporary files:
// both views, creating a tag, saving, converting to RIFF MP3 and back
// (compared byte for byte with the conversion routines), and all of it again
// with the file open in the player, playing, paused or stopped.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "orva_engine.h"
#include "resources/resource_ids.h"
#include "shell/info_dialog.h"
#include "tests/engine/engine_fixtures.h"
#include "tests/shell_windows/picture_compare.h"
#include "tests/shell_windows/player_fixture.h"
#include "tests/support/id3v2_bytes.h"

namespace orva::test {
namespace {

// Steps run one after another from a timer while the dialog's modal loop
// runs; a step answers true when it is done. Whatever is still open after
// the time limit is cancelled, so a broken dialog fails the test instead of
// hanging it.
class DialogScript {
 public:
  using Step = std::function<bool()>;
  DialogScript& then(Step step) {
    steps_.push_back(std::move(step));
    return *this;
  }
  int32_t run(HWND owner, int32_t entryIndex) {
    active_ = this;
    start_ = GetTickCount();
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, onTimer);
    const int32_t result = showInfoDialog(owner, entryIndex);
    KillTimer(nullptr, timer);
    active_ = nullptr;
    EXPECT_EQ(next_, steps_.size()) << "the dialog closed before step " << next_;
    return result;
  }
  std::vector<std::string> messages;  // texts of the failure message boxes

 private:
  static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (active_ != nullptr && !active_->busy_) active_->advance();
  }
  void advance() {
    busy_ = true;
    catchFailureMessage();
    if (next_ < steps_.size() && steps_[next_]()) ++next_;
    if (GetTickCount() - start_ > 15000) giveUp();
    busy_ = false;
  }
  void catchFailureMessage() {
    HWND box = FindWindowA("#32770", "オルヴァ");
    if (box == nullptr) return;
    char text[1024] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    messages.push_back(text);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  }
  void giveUp() {
    ADD_FAILURE() << "the dialog script stalled at step " << next_;
    for (const char* title : {"確認", "情報"}) {
      if (HWND w = FindWindowA("#32770", title)) PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
    }
  }

  static inline DialogScript* active_ = nullptr;
  std::vector<Step> steps_;
  size_t next_ = 0;
  DWORD start_ = 0;
  bool busy_ = false;
};

HWND infoDialog() { return FindWindowA("#32770", "情報"); }
HWND field(int32_t id) { return GetDlgItem(infoDialog(), id); }
bool enabled(int32_t id) { return IsWindowEnabled(field(id)) != FALSE; }

std::string fieldText(int32_t id) {
  char text[1024] = {};
  GetWindowTextA(field(id), text, sizeof text);
  return text;
}

bool dialogOpen() { return infoDialog() != nullptr; }

DialogScript::Step setText(int32_t id, const char* text) {
  return [id, text] { return SetWindowTextA(field(id), text) != FALSE; };
}

// Radio buttons take a real click, so that their check follows.
DialogScript::Step click(int32_t id) {
  return [id] { return PostMessageA(field(id), BM_CLICK, 0, 0) != FALSE; };
}

DialogScript::Step press(int32_t id) {
  return [id] { return PostMessageA(infoDialog(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0) != FALSE; };
}

DialogScript::Step answer(int32_t button) {
  return [button] {
    HWND box = FindWindowA("#32770", "確認");
    return box != nullptr && PostMessageA(box, WM_COMMAND, button, 0) != FALSE;
  };
}

DialogScript::Step until(std::function<bool()> condition) { return condition; }

DialogScript::Step check(std::function<void()> expectations) {
  return [expectations] {
    expectations();
    return true;
  };
}

// The dialog compared with a reference picture, its path field showing
// `shownPath` (the real one is a new temporary folder each run). Prepared on
// the first call, taken once the screen has caught up.
DialogScript::Step dialogPicture(const char* name, const char* shownPath) {
  return [name, shownPath, since = DWORD{0}]() mutable {
    if (since == 0) {
      SetCursorPos(1270, 1010);
      SetDlgItemTextA(infoDialog(), IDC_INFO_PATH, shownPath);
      SetForegroundWindow(infoDialog());
      RedrawWindow(infoDialog(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
      since = GetTickCount();
      return false;
    }
    if (GetTickCount() - since < 400) return false;
    EXPECT_TRUE(matchesReference(name, captureWindow(infoDialog())));
    return true;
  };
}

Id3v1Record tagRecord(const char* title, const char* artist, const char* year, int32_t genre) {
  Id3v1Record r{};
  std::strcpy(r.title, title);
  std::strcpy(r.artist, artist);
  std::strcpy(r.album, "Album");
  std::strcpy(r.year, year);
  std::strcpy(r.comment, "note");
  r.genre = genre;
  return r;
}

class InfoDialogTest : public PlayerTest {
 protected:
  // An MPEG file of about 10 s in the list at index 0, started (playing)
  // or started and stopped (closed in the engine).
  std::string openTrack(const Bytes& content, bool playing, const char* name = "track.mp3") {
    const std::string path = file(name);
    EXPECT_TRUE(writeFileBytes(path, content));
    startPlayer(path);
    EXPECT_EQ(engineStateNow(), ENGINE_PLAYING);
    if (!playing) command(IDM_STOP);
    return path;
  }

  Bytes bareAudio() { return l3Frames(400, 0x00); }

  Bytes taggedAudio() {
    Bytes bytes = bareAudio();
    const std::string scratch = file("scratch.mp3");
    writeFileBytes(scratch, bytes);
    Id3v1Record r = tagRecord("Song", "Band", "2001", 13);
    EXPECT_EQ(writeId3v1Tag(scratch.c_str(), &r, 0, 1), 1);
    Bytes tagged = readFileBytes(scratch);
    DeleteFileA(scratch.c_str());
    return tagged;
  }

  // The same content through the tag library's routines in a second file.
  Bytes through(const Bytes& start, const std::function<void(const char*)>& steps) {
    const std::string path = file("expected.mp3");
    writeFileBytes(path, start);
    steps(path.c_str());
    Bytes result = readFileBytes(path);
    DeleteFileA(path.c_str());
    return result;
  }

  // Plays on for a while so that a restart from the beginning would show.
  int32_t playAWhile() {
    pumpFor(1500);
    return engineGetPositionMs();
  }

  void expectStillPlayingFrom(int32_t positionMs) {
    EXPECT_EQ(engineStateNow(), ENGINE_PLAYING);
    EXPECT_GE(engineGetPositionMs(), positionMs - 300) << "playback went on from where it was";
  }

  int32_t run(DialogScript& script, int32_t index = 0) { return script.run(mainWindow(), index); }

  // Converts to RIFF MP3 in the RIFF view and back again, each time
  // comparing the file with what the routines make of the same bytes.
  void convertBothWays(const std::string& path, const Bytes& before, const std::function<void()>& afterEach);
};

// ---- Files the player does not hold ----

TEST_F(InfoDialogTest, ABareFileGetsATagThroughCreateAndSave) {
  const Bytes audio = bareAudio();
  const std::string path = openTrack(audio, false);

  DialogScript create;
  create.then(until(dialogOpen))
      .then(check([&] {
        EXPECT_EQ(fieldText(IDC_INFO_PATH), path);
        EXPECT_EQ(fieldText(IDC_INFO_MPEG_GROUP), "MPEG情報( MPEG 1.0 layer 3 )");
        EXPECT_NE(fieldText(IDC_INFO_MPEG_DETAIL).find("ﾌｧｲﾙｻｲｽﾞ: " + std::to_string(audio.size()) + "bytes"),
                  std::string::npos);
        EXPECT_EQ(IsDlgButtonChecked(infoDialog(), IDC_INFO_ID3_VIEW), BST_CHECKED);
        for (int32_t id : {IDC_INFO_GENRE, IDC_INFO_YEAR, IDC_INFO_TITLE, IDC_INFO_COMMENT, IDC_INFO_SOFTWARE}) {
          EXPECT_FALSE(enabled(id)) << id;
        }
        EXPECT_TRUE(enabled(IDC_INFO_CREATE));
        EXPECT_FALSE(enabled(IDC_INFO_DELETE));
        EXPECT_EQ(SendMessageA(field(IDC_INFO_GENRE), CB_GETCOUNT, 0, 0), 148);
      }))
      .then(press(IDC_INFO_CREATE))
      .then(answer(IDOK))
      .then(until([] { return !enabled(IDC_INFO_CREATE); }))
      .then(check([] {
        EXPECT_TRUE(enabled(IDC_INFO_TITLE));
        EXPECT_TRUE(enabled(IDC_INFO_GENRE));
        EXPECT_FALSE(enabled(IDC_INFO_COPYRIGHT));
        EXPECT_EQ(fieldText(IDC_INFO_GENRE), "");
      }))
      .then(press(IDCANCEL));
  EXPECT_EQ(run(create), 2);
  Bytes now = readFileBytes(path);
  ASSERT_EQ(now.size(), audio.size() + 128);
  EXPECT_TRUE(std::equal(audio.begin(), audio.end(), now.begin())) << "the audio is untouched";
  EXPECT_EQ(now.back(), 255) << "a tag made here has the genre 255";

  DialogScript save;
  save.then(until(dialogOpen))
      .then(check([] { EXPECT_EQ(fieldText(IDC_INFO_GENRE), ""); }))
      .then(setText(IDC_INFO_TITLE, "A title that is longer than thirty bytes"))
      .then(setText(IDC_INFO_YEAR, "1999"))
      .then(setText(IDC_INFO_GENRE, "Rock"))
      .then(setText(IDC_INFO_DISPLAY_TITLE, "Shown in the list"))
      .then(press(IDOK));
  EXPECT_EQ(run(save), 1);
  Id3v1Record tag{};
  ASSERT_EQ(readId3v1File(path.c_str(), &tag), 1);
  EXPECT_STREQ(tag.title, "A title that is longer than th");
  EXPECT_STREQ(tag.year, "1999");
  EXPECT_EQ(tag.genre, 17);
  EXPECT_EQ(displayText(0), "Shown in the list");
  EXPECT_STREQ(shell().playlist.entry(0)->tag.title, tag.title) << "the entry was read again";
}

TEST_F(InfoDialogTest, ARiffFileWithATagSavesBothFromEitherView) {
  const std::string path = openTrack(taggedAudio(), false);
  ASSERT_EQ(convertToRmp3(path.c_str()), 1);

  DialogScript fromRiffView;
  fromRiffView.then(until(dialogOpen))
      .then(check([] {
        EXPECT_EQ(fieldText(IDC_INFO_TITLE), "Song");
        EXPECT_EQ(fieldText(IDC_INFO_GENRE), "Pop");
        EXPECT_FALSE(enabled(IDC_INFO_CREATE));
      }))
      .then(setText(IDC_INFO_TITLE, "Tag title"))
      .then(click(IDC_INFO_RIFF_VIEW))
      .then(until([] { return enabled(IDC_INFO_COPYRIGHT); }))
      .then(check([] {
        EXPECT_EQ(fieldText(IDC_INFO_TITLE), "");
        EXPECT_TRUE(enabled(IDC_INFO_DELETE));
        EXPECT_FALSE(enabled(IDC_INFO_CREATE));
      }))
      .then(setText(IDC_INFO_TITLE, "Info title"))
      .then(setText(IDC_INFO_SOURCE, "Source"))
      .then(setText(IDC_INFO_GENRE, "Free genre text"))
      .then(press(IDOK));
  EXPECT_EQ(run(fromRiffView), 1);
  Id3v1Record tag{};
  FileInfo info{};
  InfoText text{};
  ASSERT_EQ(readFileInfo(path.c_str(), &tag, &info, &text), 1);
  EXPECT_STREQ(tag.title, "Tag title");
  EXPECT_EQ(tag.genre, 13);
  EXPECT_STREQ(text.slots[0], "Info title");
  EXPECT_STREQ(text.slots[8], "Source");
  EXPECT_STREQ(text.slots[5], "Free genre text");

  DialogScript fromId3View;
  fromId3View.then(until(dialogOpen))
      .then(click(IDC_INFO_RIFF_VIEW))
      .then(until([] { return fieldText(IDC_INFO_TITLE) == "Info title"; }))
      .then(setText(IDC_INFO_COPYRIGHT, "Mine"))
      .then(click(IDC_INFO_ID3_VIEW))
      .then(until([] { return fieldText(IDC_INFO_TITLE) == "Tag title"; }))
      .then(check([] { EXPECT_FALSE(enabled(IDC_INFO_COPYRIGHT)); }))
      .then(setText(IDC_INFO_ARTIST, "Other band"))
      .then(press(IDOK));
  EXPECT_EQ(run(fromId3View), 1);
  ASSERT_EQ(readFileInfo(path.c_str(), &tag, &info, &text), 1);
  EXPECT_STREQ(tag.artist, "Other band");
  EXPECT_STREQ(text.slots[6], "Mine");
  EXPECT_STREQ(text.slots[0], "Info title");
}

TEST_F(InfoDialogTest, ConversionsBothWaysMatchTheRoutines) {
  const Bytes before = taggedAudio();
  const std::string path = openTrack(before, false);
  convertBothWays(path, before, [] {});
}

TEST_F(InfoDialogTest, BlankTextsAndUnlistedGenresShowEmpty) {
  std::vector<Bytes> contents;
  std::string commandLine;
  for (uint8_t genre : {uint8_t{251}, uint8_t{255}}) {
    Bytes content = bareAudio();
    Bytes tag(128, ' ');
    std::memcpy(tag.data(), "TAG", 3);
    tag[127] = genre;
    append(content, tag);
    const std::string path = file("blank" + std::to_string(genre) + ".mp3");
    writeFileBytes(path, content);
    contents.push_back(content);
    commandLine += path + " ";
  }
  startPlayer(commandLine);
  command(IDM_STOP);

  for (int32_t index = 0; index < 2; ++index) {
    DialogScript look;
    look.then(until(dialogOpen))
        .then(check([] {
          for (int32_t id :
               {IDC_INFO_GENRE, IDC_INFO_YEAR, IDC_INFO_TITLE, IDC_INFO_ARTIST, IDC_INFO_ALBUM, IDC_INFO_COMMENT}) {
            EXPECT_EQ(fieldText(id), "") << id;
            EXPECT_TRUE(enabled(id)) << id;
          }
        }))
        .then(press(IDOK));
    EXPECT_EQ(run(look, index), 1);
    const Bytes& content = contents[static_cast<size_t>(index)];
    Bytes now = readFileBytes(shell().playlist.entry(index)->path);
    EXPECT_EQ(now.back(), content.back()) << "an empty box keeps a genre it cannot show";
    EXPECT_TRUE(std::equal(content.begin(), content.end() - 128, now.begin()));
  }
}

// A file named only by an ID3v2 tag: its row shows the tag's names, the ID3
// view shows its texts read-only, and 作る makes an ID3v1 tag of them.
TEST_F(InfoDialogTest, AnId3v2OnlyFileShowsItsTextsAndMakesATagOfThem) {
  Bytes content =
      id3v2Tag({utf16TextFrame("TIT2", u"夜明けのうた、そして長い長いタイトルの続き"), utf16TextFrame("TPE1", u"青葉"),
                utf16TextFrame("TYER", u"2026"), utf16TextFrame("TCON", u"(13)")});
  append(content, bareAudio());
  const std::string path = openTrack(content, false);
  EXPECT_EQ(displayText(0), "青葉 - 夜明けのうた、そして長い長いタイトルの続き");

  DialogScript create;
  create.then(until(dialogOpen))
      .then(check([] {
        EXPECT_EQ(fieldText(IDC_INFO_TITLE), "夜明けのうた、そして長い長いタイトルの続き");
        EXPECT_EQ(fieldText(IDC_INFO_ARTIST), "青葉");
        EXPECT_EQ(fieldText(IDC_INFO_YEAR), "2026");
        EXPECT_EQ(fieldText(IDC_INFO_GENRE), "Pop");
        EXPECT_FALSE(enabled(IDC_INFO_TITLE)) << "the ID3v2 tag is not edited here";
        EXPECT_TRUE(enabled(IDC_INFO_CREATE));
      }))
      .then(dialogPicture("info_id3v2", "C:\\music\\song.mp3"))
      .then(press(IDC_INFO_CREATE))
      .then(answer(IDOK))
      .then(until([] { return !enabled(IDC_INFO_CREATE); }))
      .then(press(IDCANCEL));
  EXPECT_EQ(run(create), 2);
  Id3v1Record tag{};
  ASSERT_EQ(readId3v1File(path.c_str(), &tag), 1);
  EXPECT_STREQ(tag.title, "夜明けのうた、そして長い長いタ") << "fifteen double-byte characters";
  EXPECT_STREQ(tag.artist, "青葉");
  EXPECT_STREQ(tag.year, "2026");
  EXPECT_EQ(tag.genre, 13);
  const Bytes now = readFileBytes(path);
  EXPECT_TRUE(std::equal(content.begin(), content.end(), now.begin())) << "the ID3v2 tag and the audio stay";
}

// The dialog in both views on a RIFF MP3 file with a tag, compared with the
// reference pictures (the path field shows a fixed name: the real one is a
// new temporary folder each run).
TEST_F(InfoDialogTest, BothViewsOfARiffFileWithATag) {
  const std::string path = openTrack(taggedAudio(), false);
  ASSERT_EQ(convertToRmp3(path.c_str()), 1);
  auto picture = [](const char* name) { return dialogPicture(name, "C:\\music\\song.rmp"); };
  DialogScript look;
  look.then(until(dialogOpen)).then(setText(IDC_INFO_TITLE, "テスト曲")).then(until([] { return true; }));
  look.then(picture("info_id3")).then(click(IDC_INFO_RIFF_VIEW));
  look.then(until([] { return enabled(IDC_INFO_COPYRIGHT); })).then(setText(IDC_INFO_ARTIST, "アーティスト"));
  look.then(until([] { return true; })).then(picture("info_riff")).then(check([] {
    EXPECT_EQ(fieldText(IDC_INFO_SOFTWARE), "ZENFO") << "as a fresh conversion writes it";
    EXPECT_EQ(fieldText(IDC_INFO_GENRE), "");
    EXPECT_TRUE(enabled(IDC_INFO_DELETE));
  }));
  look.then(press(IDCANCEL));
  EXPECT_EQ(run(look), 2);
}

// ---- The file the player holds ----

TEST_F(InfoDialogTest, ThePlayingFileTakesEveryWriteAndPlaysOn) {
  const std::string path = openTrack(bareAudio(), true);
  int32_t position = playAWhile();

  DialogScript create;
  create.then(until(dialogOpen)).then(press(IDC_INFO_CREATE)).then(answer(IDOK));
  create.then(until([] { return !enabled(IDC_INFO_CREATE); })).then(setText(IDC_INFO_TITLE, "Live"));
  create.then(press(IDOK));
  EXPECT_EQ(run(create), 1);
  EXPECT_TRUE(create.messages.empty()) << create.messages.front();
  Id3v1Record tag{};
  ASSERT_EQ(readId3v1File(path.c_str(), &tag), 1);
  EXPECT_STREQ(tag.title, "Live");
  expectStillPlayingFrom(position);
  Id3v1Record playing{};
  ASSERT_EQ(engineGetTag(&playing), 1);
  EXPECT_STREQ(playing.title, "Live") << "the player shows the edited tag";

  position = playAWhile();
  convertBothWays(path, readFileBytes(path), [&] {
    expectStillPlayingFrom(position);
    position = engineGetPositionMs();
  });
}

TEST_F(InfoDialogTest, APausedOrStoppedFileStaysSoAfterAWrite) {
  const std::string path = openTrack(taggedAudio(), true);
  const int32_t position = playAWhile();
  command(IDM_PAUSE);
  ASSERT_EQ(engineStateNow(), ENGINE_PAUSED);
  const int32_t paused = engineGetPositionMs();

  DialogScript convert;
  convert.then(until(dialogOpen)).then(click(IDC_INFO_RIFF_VIEW)).then(press(IDC_INFO_CREATE));
  convert.then(answer(IDOK)).then(until([] { return enabled(IDC_INFO_DELETE); })).then(press(IDCANCEL));
  EXPECT_EQ(run(convert), 2);
  EXPECT_TRUE(convert.messages.empty()) << convert.messages.front();
  EXPECT_EQ(probeTagLayout(path.c_str()) & TAG_LAYOUT_RMP3, TAG_LAYOUT_RMP3);
  EXPECT_EQ(engineStateNow(), ENGINE_PAUSED);
  EXPECT_GE(engineGetPositionMs(), position - 300);
  EXPECT_LE(engineGetPositionMs(), paused + 300);

  // Playing again: a save in the ID3 view writes the tag in place and the
  // INFO text through a rewrite.
  command(IDM_PAUSE);
  ASSERT_EQ(engineStateNow(), ENGINE_PLAYING);
  const int32_t playing = playAWhile();
  DialogScript both;
  both.then(until(dialogOpen)).then(setText(IDC_INFO_ARTIST, "Live band")).then(click(IDC_INFO_RIFF_VIEW));
  both.then(until([] { return enabled(IDC_INFO_COPYRIGHT); })).then(setText(IDC_INFO_COPYRIGHT, "Live"));
  both.then(click(IDC_INFO_ID3_VIEW)).then(until([] { return !enabled(IDC_INFO_COPYRIGHT); })).then(press(IDOK));
  EXPECT_EQ(run(both), 1);
  EXPECT_TRUE(both.messages.empty()) << both.messages.front();
  expectStillPlayingFrom(playing);
  Id3v1Record tag{};
  FileInfo info{};
  InfoText written{};
  ASSERT_EQ(readFileInfo(path.c_str(), &tag, &info, &written), 1);
  EXPECT_STREQ(tag.artist, "Live band");
  EXPECT_STREQ(written.slots[6], "Live");

  // Stopped but still open, as after the end of the last track.
  engineStop();
  shell().continueFlag = 0;
  DialogScript save;
  save.then(until(dialogOpen)).then(click(IDC_INFO_RIFF_VIEW));
  save.then(until([] { return fieldText(IDC_INFO_SOFTWARE) == "orva"; })).then(setText(IDC_INFO_TITLE, "Kept"));
  save.then(press(IDOK));
  EXPECT_EQ(run(save), 1);
  EXPECT_TRUE(save.messages.empty()) << save.messages.front();
  EXPECT_EQ(engineStateNow(), ENGINE_STOPPED);
  FileInfo header{};
  EXPECT_EQ(engineGetHeaderInfo(&header), 1) << "the file is open again";
  EXPECT_EQ(header.fileSize, static_cast<int32_t>(readFileBytes(path).size()));
  InfoText text{};
  ASSERT_EQ(getOpenFileInfoText(&text), 1);
  EXPECT_STREQ(text.slots[0], "Kept");
}

TEST_F(InfoDialogTest, AWriteThatFailsSaysWhy) {
  const std::string path = openTrack(bareAudio(), false);
  // Another program holds the file without letting anyone write it.
  HANDLE holder = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  DialogScript create;
  create.then(until(dialogOpen)).then(press(IDC_INFO_CREATE)).then(answer(IDOK));
  create.then(until([&] { return !create.messages.empty(); })).then(check([] {
    EXPECT_TRUE(enabled(IDC_INFO_CREATE)) << "the view stays as it was";
  }));
  create.then(press(IDCANCEL));
  EXPECT_EQ(run(create), 2);
  CloseHandle(holder);
  ASSERT_EQ(create.messages.size(), 1u);
  EXPECT_EQ(create.messages[0].rfind("ID3 TAGを保存できませんでした。\n理由: ", 0), 0u) << create.messages[0];
  EXPECT_NE(create.messages[0].find("\nopening the file for writing failed: "), std::string::npos)
      << "the system's reason follows";
  EXPECT_EQ(readFileBytes(path), bareAudio());
}

void InfoDialogTest::convertBothWays(const std::string& path, const Bytes& before,
                                     const std::function<void()>& afterEach) {
  DialogScript toRiff;
  toRiff.then(until(dialogOpen)).then(click(IDC_INFO_RIFF_VIEW));
  toRiff.then(until([] { return enabled(IDC_INFO_CREATE) && !enabled(IDC_INFO_TITLE); }));
  toRiff.then(press(IDC_INFO_CREATE)).then(answer(IDOK)).then(until([] { return enabled(IDC_INFO_DELETE); }));
  toRiff.then(check([] {
    EXPECT_EQ(fieldText(IDC_INFO_SOFTWARE), "orva");
    EXPECT_TRUE(enabled(IDC_INFO_TITLE));
    EXPECT_FALSE(enabled(IDC_INFO_CREATE));
  }));
  toRiff.then(press(IDCANCEL));
  EXPECT_EQ(run(toRiff), 2);
  EXPECT_TRUE(toRiff.messages.empty()) << toRiff.messages.front();
  Id3v1Record tag{};
  ASSERT_EQ(readId3v1File(path.c_str(), &tag), 1);
  const Bytes riff = through(before, [&](const char* p) {
    Id3v1Record t = tag;
    ASSERT_EQ(convertToRmp3(p), 1);
    ASSERT_EQ(writeId3v1Tag(p, &t, 0, 0), 1);
    InfoText text{};
    std::strcpy(text.slots[9], "orva");
    ASSERT_EQ(writeInfo(p, &text), 1);
  });
  EXPECT_EQ(tag.genre, 255);
  EXPECT_EQ(readFileBytes(path), riff);
  afterEach();

  DialogScript toBare;
  toBare.then(until(dialogOpen)).then(click(IDC_INFO_RIFF_VIEW)).then(until([] { return enabled(IDC_INFO_DELETE); }));
  toBare.then(press(IDC_INFO_DELETE)).then(answer(IDOK)).then(until([] { return enabled(IDC_INFO_CREATE); }));
  toBare.then(check([] { EXPECT_FALSE(enabled(IDC_INFO_TITLE)); })).then(press(IDCANCEL));
  EXPECT_EQ(run(toBare), 2);
  EXPECT_TRUE(toBare.messages.empty()) << toBare.messages.front();
  EXPECT_EQ(readFileBytes(path), through(riff, [](const char* p) { ASSERT_EQ(convertToMpeg(p), 1); }));
  afterEach();
}

}  // namespace
}  // namespace orva::test
