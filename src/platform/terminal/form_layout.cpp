#include "platform/terminal/form_layout.h"

#include <algorithm>
#include <cstddef>

#include "platform/terminal/text_lines.h"

namespace qtv {

namespace {

constexpr int kInnerRows = kFormRows - 2;
constexpr int kInnerColumns = kFormColumns - 2;
// A text line of the dialog font is eight vertical dialog units.
constexpr int kLineUnits = 8;

// value * to / from, rounded to the nearest integer, down or up; value, to and from are not
// negative.
int scaled(int value, int to, int from) { return (2 * value * to + from) / (2 * from); }
int scaledDown(int value, int to, int from) { return value * to / from; }
int scaledUp(int value, int to, int from) { return (value * to + from - 1) / from; }

// Something that takes rows: a control, or one edge of a group box frame (h = 0).
struct Item {
  int y, h;           // dialog units
  int column, width;  // cells inside the frame
  int rows;
  int row = 0;  // result: the first row inside the frame
};

int rowsOf(const ControlTemplate& control, int width, int templateHeight) {
  switch (control.kind) {
    case ControlKind::StaticText: {
      const int templateLines = std::max(1, scaled(control.height, 1, kLineUnits));
      const int frame = control.sunkenBorder ? 2 : 0;
      const int textWidth = width - frame;
      const auto lines = static_cast<int>(textLines(control.caption, textWidth, control.wraps).size());
      return std::max(templateLines, lines) + frame;
    }
    case ControlKind::ListBox: return std::max(2, scaled(control.height, kInnerRows, templateHeight));
    default: return 1;
  }
}

// Places the items band by band, top to bottom; a band is a run of items whose template tops
// lie within half a line of the band's first one. Returns the rows used.
int placeItems(std::vector<Item>& items, const std::vector<std::size_t>& order, int templateHeight,
               int blankGap) {
  int used = 0;
  for (std::size_t first = 0; first < order.size();) {
    std::size_t last = first;
    const int bandTop = items[order[first]].y;
    while (last < order.size() && items[order[last]].y - bandTop <= kLineUnits / 2) ++last;
    int row = 0;
    for (std::size_t m = first; m < last; ++m) {
      const Item& item = items[order[m]];
      row = std::max(row, scaled(std::max(0, item.y), kInnerRows, templateHeight));
      for (std::size_t p = 0; p < first; ++p) {
        const Item& above = items[order[p]];
        const bool sideBySide =
            above.column >= item.column + item.width || item.column >= above.column + above.width;
        // Measured from the band's top, so that the whole band keeps or drops the blank row.
        const int gap = bandTop - (above.y + above.h);
        if (sideBySide || item.y < above.y + above.h) continue;
        row = std::max(row, above.row + above.rows + (gap >= blankGap ? 1 : 0));
      }
    }
    for (std::size_t m = first; m < last; ++m) {
      Item& item = items[order[m]];
      item.row = row;
      used = std::max(used, row + item.rows);
    }
    first = last;
  }
  return used;
}

}  // namespace

std::optional<std::vector<CellRect>> layoutForm(const DialogTemplate& dialogTemplate) {
  const int templateWidth = std::max(1, dialogTemplate.width);
  const int templateHeight = std::max(1, dialogTemplate.height);
  std::vector<Item> items;
  // For each control, its item; a group box has its top edge here and its bottom edge next.
  std::vector<std::size_t> itemOf;
  for (const auto& control : dialogTemplate.controls) {
    const int x = std::max(0, control.x);
    const int xEnd = std::max(0, control.x + control.width);
    const bool frame = control.kind == ControlKind::GroupBox;
    // A frame is widened to whole cells, so that it keeps clear of the controls it encloses.
    const int left =
        frame ? scaledDown(x, kInnerColumns, templateWidth) : scaled(x, kInnerColumns, templateWidth);
    const int right =
        frame ? scaledUp(xEnd, kInnerColumns, templateWidth) : scaled(xEnd, kInnerColumns, templateWidth);
    const int width = std::max(1, right - left);
    itemOf.push_back(items.size());
    if (frame) {
      items.push_back({control.y, 0, left, width, 1});
      items.push_back({control.y + control.height, 0, left, width, 1});
    } else {
      items.push_back({control.y, control.height, left, width, rowsOf(control, width, templateHeight)});
    }
  }
  std::vector<std::size_t> order(items.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return items[a].y < items[b].y; });

  // Keep blank rows for the template's gaps of one line and more; when that does not fit,
  // only for ever wider gaps.
  for (int blankGap = kLineUnits;; blankGap += kLineUnits) {
    const int used = placeItems(items, order, templateHeight, blankGap);
    if (used <= kInnerRows) break;
    if (blankGap > templateHeight) return std::nullopt;
  }
  if (std::any_of(items.begin(), items.end(),
                  [](const Item& item) { return item.column + item.width > kInnerColumns; }))
    return std::nullopt;

  std::vector<CellRect> cells;
  for (std::size_t i = 0; i < itemOf.size(); ++i) {
    const Item& item = items[itemOf[i]];
    int height = item.rows;
    if (dialogTemplate.controls[i].kind == ControlKind::GroupBox)
      height = items[itemOf[i] + 1].row - item.row + 1;
    cells.push_back({item.row + 1, item.column + 1, height, item.width});
  }
  return cells;
}

}  // namespace qtv
