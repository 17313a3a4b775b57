// The order Tab follows through a form's tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/form_spec.h"

namespace {

using ui::Kind;

TEST(ReadingOrder, RowsGoLeftToRightAndEachContainersControlsFollowIt) {
  // clang-format off
  const ui::ControlSpec table[] = {
      {Kind::Panel, "pnlFirst", "", "", 8, 8, 300, 200},
      {Kind::Panel, "pnlSecond", "", "", 8, 8, 300, 200},  // same place: the table's order
      {Kind::Button, "btnLower", "pnlFirst", "", 8, 120, 75, 25},
      {Kind::Button, "btnRight", "pnlFirst", "", 200, 80, 75, 25},
      {Kind::ComboList, "cbLeft", "pnlFirst", "", 80, 82, 70, 100},  // 2 px lower: the same row
      {Kind::Edit, "edtFarLeft", "pnlFirst", "", 8, 86, 60, 21},
      {Kind::Group, "gbBox", "pnlFirst", "", 8, 8, 280, 60},
      {Kind::Button, "btnInBox", "gbBox", "", 8, 20, 75, 25},
      {Kind::Button, "btnOverBox", "pnlFirst", "", 8, 8, 75, 25},   // at the box's place, after it
      {Kind::Button, "btnOnSecond", "pnlSecond", "", 8, 8, 75, 25},
  };
  // clang-format on
  std::vector<std::string> names;
  for (size_t i : ui::readingOrder(table)) names.push_back(table[i].name);
  EXPECT_EQ(names, (std::vector<std::string>{"pnlFirst", "gbBox", "btnInBox", "btnOverBox",
                                             "edtFarLeft", "cbLeft", "btnRight", "btnLower",
                                             "pnlSecond", "btnOnSecond"}));
}

}  // namespace
