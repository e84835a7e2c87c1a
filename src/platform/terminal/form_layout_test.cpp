#include "platform/terminal/form_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

#include "dialog/dialog_template.h"
#include "platform/terminal/text_lines.h"

namespace qtv {
namespace {

using enum ControlKind;

bool overlap(const CellRect& a, const CellRect& b) {
  return a.row < b.row + b.height && b.row < a.row + a.height && a.column < b.column + b.width &&
         b.column < a.column + a.width;
}

bool inside(const CellRect& inner, const CellRect& outer) {
  return inner.row > outer.row && inner.row + inner.height < outer.row + outer.height &&
         inner.column > outer.column && inner.column + inner.width < outer.column + outer.width;
}

class RunParametersLayout : public ::testing::Test {
 protected:
  const DialogTemplate& form = runParametersTemplate();
  std::vector<CellRect> cells = layoutForm(form).value();
};

TEST_F(RunParametersLayout, EveryControlLiesInsideTheOuterFrame) {
  ASSERT_EQ(cells.size(), form.controls.size());
  const CellRect frameInside{0, 0, kFormRows, kFormColumns};
  for (std::size_t i = 0; i < cells.size(); ++i) {
    EXPECT_GE(cells[i].height, 1) << i;
    EXPECT_GE(cells[i].width, 1) << i;
    EXPECT_TRUE(inside(cells[i], frameInside)) << "control " << i;
  }
}

TEST_F(RunParametersLayout, ControlsDoNotOverlapAndTheGroupBoxEnclosesItsOwn) {
  for (std::size_t i = 0; i < cells.size(); ++i) {
    for (std::size_t j = i + 1; j < cells.size(); ++j) {
      const auto& a = form.controls[i];
      const auto& b = form.controls[j];
      if (a.kind == GroupBox || b.kind == GroupBox) {
        const auto& group = a.kind == GroupBox ? a : b;
        const auto& other = a.kind == GroupBox ? b : a;
        const bool inTemplateGroup = other.y > group.y && other.y + other.height < group.y + group.height;
        const auto& groupCell = cells[a.kind == GroupBox ? i : j];
        const auto& otherCell = cells[a.kind == GroupBox ? j : i];
        EXPECT_EQ(inside(otherCell, groupCell), inTemplateGroup) << i << " and " << j;
        if (!inTemplateGroup) {
          EXPECT_FALSE(overlap(otherCell, groupCell)) << i << " and " << j;
        }
      } else {
        EXPECT_FALSE(overlap(cells[i], cells[j])) << i << " and " << j;
      }
    }
  }
}

TEST_F(RunParametersLayout, TheTemplateArrangementIsKept) {
  for (std::size_t i = 0; i < cells.size(); ++i) {
    for (std::size_t j = 0; j < cells.size(); ++j) {
      const auto& a = form.controls[i];
      const auto& b = form.controls[j];
      if (a.kind == GroupBox || b.kind == GroupBox || i == j) continue;
      // Controls on one template row share a row; left of stays left of; above stays above.
      if (std::abs(a.y - b.y) <= 4) {
        EXPECT_EQ(cells[i].row, cells[j].row) << i << " and " << j;
      }
      if (a.x + a.width <= b.x) {
        EXPECT_LE(cells[i].column + cells[i].width, cells[j].column) << i << " and " << j;
      }
      const bool sameColumns = a.x < b.x + b.width && b.x < a.x + a.width;
      if (sameColumns && a.y + a.height <= b.y) {
        EXPECT_LE(cells[i].row + cells[i].height, cells[j].row) << i << " and " << j;
      }
    }
  }
}

TEST_F(RunParametersLayout, EveryCaptionHasRoom) {
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const auto& control = form.controls[i];
    const auto& cell = cells[i];
    switch (control.kind) {
      case StaticText: {
        const int frame = control.sunkenBorder ? 2 : 0;
        const auto lines = textLines(control.caption, cell.width - frame, control.wraps);
        EXPECT_LE(static_cast<int>(lines.size()), cell.height - frame) << control.caption;
        for (const auto line : lines) EXPECT_LE(static_cast<int>(line.size()), cell.width - frame) << line;
        break;
      }
      case CheckBox:
        EXPECT_GE(cell.width, static_cast<int>(control.caption.size()) + 4) << control.caption;
        break;
      case PushButton:
        EXPECT_GE(cell.width, static_cast<int>(control.caption.size()) + 2) << control.caption;
        break;
      case GroupBox: EXPECT_GE(cell.width, static_cast<int>(control.caption.size()) + 4); break;
      case ListBox: EXPECT_GE(cell.height, 2); break;
      case EditBox: EXPECT_GE(cell.width, 8); break;
    }
  }
  // The summary shows its three lines inside a frame.
  EXPECT_EQ(cells[2].height, 5);
}

ControlTemplate label(int y, int height = 10) {
  return {kNoControlId, StaticText, "label", 10, y, 60, height};
}

TEST(FormLayout, ATemplateGapOfALineKeepsABlankRow) {
  const struct {
    int secondY;
    int rowsBetween;
  } cases[] = {{20, 0}, {25, 0}, {28, 1}, {60, 3}};
  for (const auto& c : cases) {
    const std::array<ControlTemplate, 2> controls{label(10), label(c.secondY)};
    const DialogTemplate form{1, "T", 200, 266, "F", 8, controls};
    const auto cells = layoutForm(form).value();
    EXPECT_EQ(cells[1].row - (cells[0].row + cells[0].height), c.rowsBetween) << c.secondY;
  }
}

TEST(FormLayout, ABandMovesDownTogetherWhenOneOfItsControlsIsPushed) {
  // The wrapped label needs three rows at this width; the check box beside the one below it
  // moves down with it.
  const std::array<ControlTemplate, 4> controls{{
      {kNoControlId, StaticText, "Step Frequency (integer)", 12, 89, 35, 16, false, false, true},
      {5, EditBox, "", 50, 91, 31, 13},
      {6, CheckBox, "Displacement", 17, 110, 60, 11},
      {7, CheckBox, "Phase Plane", 116, 110, 52, 9},
  }};
  const DialogTemplate form{1, "T", 213, 266, "F", 8, controls};
  const auto cells = layoutForm(form).value();
  EXPECT_EQ(cells[0].height, 3);
  EXPECT_EQ(cells[0].row, cells[1].row);
  EXPECT_EQ(cells[2].row, cells[0].row + 3);
  EXPECT_EQ(cells[3].row, cells[2].row);
}

TEST(FormLayout, ATemplateTooTallForTheTerminalIsRefused) {
  std::vector<ControlTemplate> controls;
  for (int i = 0; i < 30; ++i) controls.push_back({100 + i, CheckBox, "Box", 10, 10 * i, 60, 9});
  const DialogTemplate form{1, "T", 213, 300, "F", 8, controls};
  EXPECT_FALSE(layoutForm(form).has_value());
}

}  // namespace
}  // namespace qtv
