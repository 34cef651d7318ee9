// The joystick's directions and buttons, from recorded readings.
#include <gtest/gtest.h>

#include <vector>

#include "shell/rules/joystick_rules.h"

namespace orva {
namespace {

TEST(JoystickRulesTest, ThirdsOfTheRangeGiveTheDirection) {
  const AxisRange range{0, 65535};
  EXPECT_EQ(axisDirection(43690, range), 0);
  EXPECT_EQ(axisDirection(43691, range), 1);
  EXPECT_EQ(axisDirection(21845, range), 0);
  EXPECT_EQ(axisDirection(21844, range), -1);
  EXPECT_EQ(axisDirection(32767, range), 0);
  // A range of the whole 32 bits does not wrap the upper third to a small number.
  const AxisRange wide{0, 0xFFFFFFFFu};
  EXPECT_EQ(axisDirection(0x80000000u, wide), 0);
  EXPECT_EQ(axisDirection(0xF0000000u, wide), 1);
  EXPECT_EQ(axisDirection(0x10000000u, wide), -1);
}

TEST(JoystickRulesTest, OnlyAChangedDirectionActs) {
  // A recorded push to the right, held for three polls, released, pushed again.
  const std::vector<int32_t> xs = {0, 1, 1, 1, 0, 1};
  int32_t seeks = 0;
  int32_t last = 0;
  for (int32_t x : xs) {
    for (StickAction a : stickActions(last, 0, x, 0)) seeks += a == StickAction::SeekForward ? 1 : 0;
    last = x;
  }
  EXPECT_EQ(seeks, 2);
  EXPECT_EQ(stickActions(0, 0, -1, -1), (std::vector<StickAction>{StickAction::SeekBack, StickAction::VolumeUp}));
  EXPECT_EQ(stickActions(0, -1, 0, 1), (std::vector<StickAction>{StickAction::VolumeDown}));
  EXPECT_TRUE(stickActions(1, 1, 0, 0).empty()) << "back to the centre re-arms, nothing more";
}

TEST(JoystickRulesTest, ButtonsRunTheTransportInButtonOrder) {
  EXPECT_EQ(joystickButtonActions(0x1), (std::vector<int32_t>{2}));
  EXPECT_EQ(joystickButtonActions(0x3), (std::vector<int32_t>{2, 3})) << "button 1 held while 2 is pressed";
  EXPECT_EQ(joystickButtonActions(0xC), (std::vector<int32_t>{1, 5}));
  EXPECT_TRUE(joystickButtonActions(0x30).empty()) << "buttons beyond the fourth do nothing";
}

}  // namespace
}  // namespace orva
