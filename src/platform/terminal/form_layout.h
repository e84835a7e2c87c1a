#pragma once
// Where each control of a dialog template stands on a terminal of 80 x 24 characters.
#include <optional>
#include <vector>

#include "platform/platform.h"

namespace qtv {

inline constexpr int kFormRows = 24;
inline constexpr int kFormColumns = 80;

// A block of character cells in form coordinates: row 0 and the first column hold the
// outer frame.
struct CellRect {
  int row = 0;
  int column = 0;
  int height = 0;
  int width = 0;

  bool contains(int r, int c) const {
    return r >= row && r < row + height && c >= column && c < column + width;
  }
};

// The cells of every control, in template order; a group box gets the cells its frame
// encloses. Columns scale linearly from dialog units to the width inside the outer frame.
// Rows scale likewise but are pushed down where a control needs more rows than its scaled
// height (a sunken text gets a frame, a wrapped label as many lines as its words need), so
// that controls that share a row in the template share it here, and a control below another
// stays below it. A blank row is kept between two controls where the template leaves a gap of
// at least one text line, as far as the rows allow. nullopt when the template cannot be
// arranged within the frame.
std::optional<std::vector<CellRect>> layoutForm(const DialogTemplate& dialogTemplate);

}  // namespace qtv
