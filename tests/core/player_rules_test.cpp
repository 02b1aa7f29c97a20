#include "core/player_rules.h"

#include <gtest/gtest.h>

namespace core {
namespace {

TEST(PlayerLayout, CentresWhatFitsAndPinsWhatDoesNot) {
  EXPECT_EQ(CentredOffset(600, 352), 124);
  EXPECT_EQ(CentredOffset(601, 352), 124);  // an odd pixel stays on the right
  EXPECT_EQ(CentredOffset(352, 352), 0);
  EXPECT_EQ(CentredOffset(300, 352), 0);  // larger than the view: top-left corner
}

TEST(PlayerTimes, MinutesAndSecondsThenHours) {
  EXPECT_EQ(ClockText(0), L"0:00");
  EXPECT_EQ(ClockText(999), L"0:00");  // a second is shown once it has passed
  EXPECT_EQ(ClockText(3000), L"0:03");
  EXPECT_EQ(ClockText(61000), L"1:01");
  EXPECT_EQ(ClockText(3599999), L"59:59");
  EXPECT_EQ(ClockText(3600000 + 62000), L"1:01:02");
  EXPECT_EQ(ClockText(-5), L"0:00");
  EXPECT_EQ(PositionText(3200, 10000), L"0:03 / 0:10");
}

// Previous and Next walk the folder in its search order, which is not sorted.
TEST(NeighbourClips, WalkTheFolderOrderAndStopAtItsEnds) {
  const std::vector<std::wstring> order = {L"c.avi", L"a.avi", L"b.avi"};
  auto is = [](const wchar_t* name) {
    return [name](const std::wstring& entry) { return entry == name; };
  };
  EXPECT_EQ(NeighbourClip(order, ClipStep::kNext, is(L"c.avi")), 1u);
  EXPECT_EQ(NeighbourClip(order, ClipStep::kPrevious, is(L"b.avi")), 1u);
  EXPECT_EQ(NeighbourClip(order, ClipStep::kPrevious, is(L"c.avi")), std::nullopt);
  EXPECT_EQ(NeighbourClip(order, ClipStep::kNext, is(L"b.avi")), std::nullopt);
  // A clip that is not in the list: the last one comes before it, none after.
  EXPECT_EQ(NeighbourClip(order, ClipStep::kPrevious, is(L"x.avi")), 2u);
  EXPECT_EQ(NeighbourClip(order, ClipStep::kNext, is(L"x.avi")), std::nullopt);
  EXPECT_EQ(NeighbourClip({}, ClipStep::kPrevious, is(L"x.avi")), std::nullopt);
}

}  // namespace
}  // namespace core
