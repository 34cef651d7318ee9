#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "shell/rules/list_drag.h"

namespace orva {
namespace {

void fill(Playlist& list, int count) {
  for (int i = 0; i < count; ++i) {
    PlaylistEntry* e = newPlaylistEntry();
    std::strcpy(e->displayText, std::to_string(i).c_str());
    list.insertEntry(e);
  }
}

std::string texts(const Playlist& list) {
  std::string out;
  for (int32_t i = 0; i < list.count(); ++i) out += list.entry(i)->displayText;
  return out;
}

std::string shown(const ListDrag& drag, const Playlist& list) {
  std::string out;
  for (int32_t i = 0; i < list.count(); ++i) {
    const PlaylistEntry* e = listDragEntryAt(drag, i);
    out += e->displayText;
    if (e->moving != 0) out += '*';
  }
  return out;
}

TEST(ListDrag, OnlyAClickOnASelectedRowStartsAMove) {
  Playlist list;
  fill(list, 4);
  ListDrag drag;
  const std::vector<int32_t> selected{1, 2};
  EXPECT_FALSE(listDragButtonDown(drag, list, selected, 3));
  EXPECT_EQ(drag.dragState, kListDragIdle);
  EXPECT_EQ(listDragEntryAt(drag, 0), nullptr);  // the item data stands
  EXPECT_TRUE(listDragButtonDown(drag, list, selected, 2));
  EXPECT_EQ(drag.dragState, kListDragMoving);
  // Highlighted from the start, before the pointer has left the row.
  EXPECT_EQ(shown(drag, list), "01*2*3");
}

TEST(ListDrag, BlockFollowsThePointerAndTheDropKeepsItsOrder) {
  Playlist list;
  fill(list, 5);
  ListDrag drag;
  const std::vector<int32_t> selected{1, 3};
  ASSERT_TRUE(listDragButtonDown(drag, list, selected, 1));
  EXPECT_EQ(listDragMouseMove(drag, true, 1), ListDragMove::Nothing);
  EXPECT_EQ(listDragMouseMove(drag, true, 2), ListDragMove::Repaint);
  EXPECT_EQ(shown(drag, list), "021*43*");
  EXPECT_EQ(listDragMouseMove(drag, true, 0), ListDragMove::Repaint);   // up past the top
  EXPECT_EQ(shown(drag, list), "1*03*24");                              // the gap inside the block stays
  EXPECT_EQ(listDragMouseMove(drag, true, 60), ListDragMove::Repaint);  // past the end
  EXPECT_EQ(shown(drag, list), "021*43*");
  EXPECT_EQ(texts(list), "01234");  // nothing written before the drop
  EXPECT_TRUE(listDragButtonUp(drag, list));
  EXPECT_EQ(texts(list), "02143");
  for (int32_t i = 0; i < list.count(); ++i) EXPECT_EQ(list.entry(i)->moving, 0);
  EXPECT_EQ(listDragEntryAt(drag, 0), nullptr);
}

TEST(ListDrag, ReplayedClickAfterADropGoesOnToTheList) {
  Playlist list;
  fill(list, 3);
  ListDrag drag;
  const std::vector<int32_t> selected{0};
  ASSERT_TRUE(listDragButtonDown(drag, list, selected, 0));
  ASSERT_TRUE(listDragButtonUp(drag, list));
  EXPECT_EQ(drag.dragState, kListDragJustEnded);
  EXPECT_FALSE(listDragButtonUp(drag, list));
  EXPECT_FALSE(listDragButtonDown(drag, list, selected, 0));
  EXPECT_EQ(drag.dragState, kListDragIdle);
  EXPECT_TRUE(listDragButtonDown(drag, list, selected, 0));  // the next click starts anew
}

TEST(ListDrag, ButtonLetGoUnseenAsksForARelease) {
  Playlist list;
  fill(list, 3);
  ListDrag drag;
  EXPECT_EQ(listDragMouseMove(drag, false, 1), ListDragMove::Nothing);
  const std::vector<int32_t> selected{0};
  ASSERT_TRUE(listDragButtonDown(drag, list, selected, 0));
  EXPECT_EQ(listDragMouseMove(drag, false, 2), ListDragMove::Release);
}

TEST(ListDrag, CancelLeavesTheOrderAndClearsTheFlags) {
  Playlist list;
  fill(list, 4);
  ListDrag drag;
  const std::vector<int32_t> selected{0, 1};
  ASSERT_TRUE(listDragButtonDown(drag, list, selected, 0));
  listDragMouseMove(drag, true, 2);
  listDragCancel(drag, list);
  EXPECT_EQ(drag.dragState, kListDragIdle);
  EXPECT_FALSE(listDragButtonUp(drag, list));
  EXPECT_EQ(texts(list), "0123");
  for (int32_t i = 0; i < list.count(); ++i) EXPECT_EQ(list.entry(i)->moving, 0);
}

}  // namespace
}  // namespace orva
