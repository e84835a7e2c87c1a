#include "platform/terminal/terminal_dialog.h"

#include <curses.h>

#include <algorithm>
#include <cerrno>

#include "platform/fixed_text.h"
#include "platform/terminal/terminal_screen.h"
#include "platform/terminal/text_lines.h"

namespace qtv {

namespace {

constexpr int kEscape = 27;
constexpr std::string_view kTooSmall = "QTV needs a terminal of at least 80 x 24 characters";

bool isEnter(int key) { return key == '\r' || key == '\n' || key == KEY_ENTER; }
bool isBackspace(int key) { return key == KEY_BACKSPACE || key == 127 || key == 8; }

bool terminalTooSmall() { return LINES < kFormRows || COLS < kFormColumns; }

// The form is centred on a larger terminal.
int formTop() { return (LINES - kFormRows) / 2; }
int formLeft() { return (COLS - kFormColumns) / 2; }

// The characters between the brackets of an edit box.
std::size_t editWidth(const CellRect& cell) { return static_cast<std::size_t>(std::max(1, cell.width - 2)); }

void keepCaretVisible(std::size_t caret, std::size_t& scroll, std::size_t width) {
  if (caret < scroll) scroll = caret;
  if (caret >= scroll + width) scroll = caret - width + 1;
}

}  // namespace

bool TerminalDialog::open(const DialogTemplate& dialogTemplate) {
  release();
  const auto cells = layoutForm(dialogTemplate);
  if (!cells) return false;
  caption_ = dialogTemplate.caption;
  for (std::size_t i = 0; i < dialogTemplate.controls.size(); ++i) {
    Control& control = controls_.emplace_back();
    control.source = dialogTemplate.controls[i];
    control.cell = (*cells)[i];
    control.text = control.source.caption;
  }
  return true;
}

void TerminalDialog::release() {
  controls_.clear();
  caption_.clear();
  focus_ = -1;
}

TerminalDialog::Control* TerminalDialog::find(int controlId) {
  if (controlId == kNoControlId) return nullptr;
  for (auto& control : controls_)
    if (control.source.id == controlId) return &control;
  return nullptr;
}

void TerminalDialog::setHandler(int controlId, ControlHandler handler) {
  if (auto* control = find(controlId)) control->handler = std::move(handler);
}

void TerminalDialog::setText(int controlId, std::string_view text) {
  if (auto* control = find(controlId)) {
    control->text = withoutTrailingBlanks(text);
    control->caret = control->scroll = 0;
    control->marked = false;
  }
}

void TerminalDialog::setChecked(int controlId, bool checked) {
  if (auto* control = find(controlId)) control->checked = checked;
}

void TerminalDialog::setEnabled(int controlId, bool enabled) {
  if (auto* control = find(controlId)) control->enabled = enabled;
  // A control that loses its enabled state also loses the focus.
  if (focus_ >= 0 && !focusable(controls_[static_cast<std::size_t>(focus_)])) moveFocus(1);
}

void TerminalDialog::setItemCount(int listId, std::int32_t n) {
  auto* list = find(listId);
  if (list == nullptr) return;
  const auto count = static_cast<std::size_t>(std::max<std::int32_t>(0, n));
  list->items.assign(count, std::string());
  list->selected.assign(count, false);
  list->selectedPositions.clear();
  list->positionsKnown = true;
  list->cursor = list->top = 0;
}

void TerminalDialog::setItemText(int listId, std::int32_t position, std::string_view text) {
  auto* list = find(listId);
  if (list == nullptr || position < 1 || static_cast<std::size_t>(position) > list->items.size()) return;
  list->items[static_cast<std::size_t>(position) - 1] = text;
}

std::string TerminalDialog::getText(int controlId, std::size_t fieldLength) {
  const auto* control = find(controlId);
  return fixedField(control != nullptr ? control->text : std::string(), fieldLength);
}

bool TerminalDialog::getChecked(int controlId) {
  const auto* control = find(controlId);
  return control != nullptr && control->checked;
}

std::int32_t TerminalDialog::getSelectedItem(int listId, std::int32_t k) {
  auto* list = find(listId);
  if (list == nullptr) return 0;
  if (!list->positionsKnown) {
    list->selectedPositions.clear();
    for (std::size_t i = 0; i < list->selected.size(); ++i)
      if (list->selected[i]) list->selectedPositions.push_back(static_cast<std::int32_t>(i + 1));
    list->positionsKnown = true;
  }
  if (k < 1 || static_cast<std::size_t>(k) > list->selectedPositions.size()) return 0;
  return list->selectedPositions[static_cast<std::size_t>(k) - 1];
}

std::string TerminalDialog::getItemText(int listId, std::int32_t position, std::size_t fieldLength) {
  const auto* list = find(listId);
  if (list == nullptr || position < 1 || static_cast<std::size_t>(position) > list->items.size())
    return fixedField("", fieldLength);
  return fixedField(list->items[static_cast<std::size_t>(position) - 1], fieldLength);
}

// ---- User actions -------------------------------------------------------------------------

bool TerminalDialog::focusable(const Control& control) const {
  return control.enabled && control.source.kind != ControlKind::StaticText &&
         control.source.kind != ControlKind::GroupBox;
}

void TerminalDialog::moveFocus(int step) {
  const auto count = static_cast<int>(controls_.size());
  int index = focus_;
  for (int tried = 0; tried < count; ++tried) {
    index = index < 0 ? (step > 0 ? 0 : count - 1) : (index + step + count) % count;
    if (focusable(controls_[static_cast<std::size_t>(index)])) {
      focusOn(static_cast<std::size_t>(index));
      // Moving into an edit box with the keyboard marks its text, so typing replaces it.
      auto& edit = controls_[static_cast<std::size_t>(index)];
      if (edit.source.kind == ControlKind::EditBox) {
        edit.marked = !edit.text.empty();
        edit.caret = edit.text.size();
        edit.scroll = 0;
        keepCaretVisible(edit.caret, edit.scroll, editWidth(edit.cell));
      }
      return;
    }
  }
  focus_ = -1;
}

void TerminalDialog::focusOn(std::size_t index) {
  if (focus_ >= 0) controls_[static_cast<std::size_t>(focus_)].marked = false;
  focus_ = static_cast<int>(index);
}

void TerminalDialog::runHandler(const Control& control) {
  // The handler may replace itself or release the form: call a copy, and touch nothing after.
  const auto handler = control.handler;
  const int id = control.source.id;
  if (handler) handler(id);
}

void TerminalDialog::toggle(Control& checkBox) {
  checkBox.checked = !checkBox.checked;
  runHandler(checkBox);
}

void TerminalDialog::toggleItem(Control& list, std::size_t item) {
  if (item >= list.items.size()) return;
  list.cursor = item;
  list.selected[item] = !list.selected[item];
  list.positionsKnown = false;
  runHandler(list);
}

void TerminalDialog::editKey(Control& edit, int key) {
  std::string& text = edit.text;
  const std::string before = text;
  if (key >= ' ' && key <= '~') {
    if (edit.marked) {
      text.clear();
      edit.caret = 0;
    }
    text.insert(edit.caret++, 1, static_cast<char>(key));
  } else if (isBackspace(key) || key == KEY_DC) {
    if (edit.marked) {
      text.clear();
      edit.caret = 0;
    } else if (isBackspace(key) && edit.caret > 0) {
      text.erase(--edit.caret, 1);
    } else if (key == KEY_DC && edit.caret < text.size()) {
      text.erase(edit.caret, 1);
    }
  } else if (key == KEY_LEFT) {
    edit.caret = edit.marked ? 0 : edit.caret - (edit.caret > 0 ? 1 : 0);
  } else if (key == KEY_RIGHT) {
    edit.caret = edit.marked ? text.size() : std::min(text.size(), edit.caret + 1);
  } else if (key == KEY_HOME) {
    edit.caret = 0;
  } else if (key == KEY_END) {
    edit.caret = text.size();
  } else {
    return;
  }
  edit.marked = false;
  keepCaretVisible(edit.caret, edit.scroll, editWidth(edit.cell));
  if (text != before) runHandler(edit);
}

void TerminalDialog::listKey(Control& list, int key) {
  if (list.items.empty()) return;
  const std::size_t last = list.items.size() - 1;
  const auto page = static_cast<std::size_t>(list.cell.height);
  switch (key) {
    case ' ': toggleItem(list, list.cursor); return;
    case KEY_UP: list.cursor -= list.cursor > 0 ? 1 : 0; break;
    case KEY_DOWN: list.cursor = std::min(last, list.cursor + 1); break;
    case KEY_PPAGE: list.cursor -= std::min(list.cursor, page); break;
    case KEY_NPAGE: list.cursor = std::min(last, list.cursor + page); break;
    case KEY_HOME: list.cursor = 0; break;
    case KEY_END: list.cursor = last; break;
    default: return;
  }
  keepCaretVisible(list.cursor, list.top, page);
}

std::optional<int> TerminalDialog::pressKey(int key) {
  if (controls_.empty()) return std::nullopt;
  if (key == kEscape) return kDialogCancel;
  if (focus_ < 0) moveFocus(1);
  if (key == '\t' || key == KEY_BTAB) {
    moveFocus(key == '\t' ? 1 : -1);
    return std::nullopt;
  }
  Control* focused = focus_ >= 0 ? &controls_[static_cast<std::size_t>(focus_)] : nullptr;
  if (isEnter(key)) {
    if (focused != nullptr && focused->source.kind == ControlKind::PushButton) return focused->source.id;
    for (const auto& control : controls_)
      if (control.source.kind == ControlKind::PushButton && control.source.defaultButton && control.enabled)
        return control.source.id;
    return kDialogOk;
  }
  if (focused == nullptr) return std::nullopt;
  switch (focused->source.kind) {
    case ControlKind::EditBox: editKey(*focused, key); break;
    case ControlKind::ListBox: listKey(*focused, key); break;
    case ControlKind::CheckBox:
      if (key == ' ') toggle(*focused);
      break;
    case ControlKind::PushButton:
      if (key == ' ') return focused->source.id;
      break;
    default: break;
  }
  return std::nullopt;
}

std::optional<int> TerminalDialog::clickAt(int row, int column) {
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    Control& control = controls_[i];
    if (!focusable(control) || !control.cell.contains(row, column)) continue;
    focusOn(i);
    switch (control.source.kind) {
      case ControlKind::PushButton: return control.source.id;
      case ControlKind::CheckBox: toggle(control); break;
      case ControlKind::EditBox: {
        // The first column is the bracket; a click past the text puts the caret at its end.
        const auto offset = static_cast<std::size_t>(std::max(0, column - control.cell.column - 1));
        control.caret = std::min(control.text.size(), control.scroll + offset);
        break;
      }
      case ControlKind::ListBox: {
        const auto line = static_cast<std::size_t>(row - control.cell.row);
        const auto rows = static_cast<std::size_t>(control.cell.height);
        if (column == control.cell.column + control.cell.width - 1) {
          // The scroll indicator: the upper half scrolls up a line, the lower half down.
          const std::size_t hidden = control.items.size() > rows ? control.items.size() - rows : 0;
          if (line < rows / 2 && control.top > 0) --control.top;
          if (line >= rows / 2 && control.top < hidden) ++control.top;
          control.cursor = std::clamp(control.cursor, control.top, control.top + rows - 1);
        } else {
          toggleItem(control, control.top + line);
        }
        break;
      }
      default: break;
    }
    return std::nullopt;
  }
  return std::nullopt;
}

// ---- The modal loop and drawing -----------------------------------------------------------

int TerminalDialog::runModal() {
  if (controls_.empty()) return kDialogFailed;
  const TerminalScreen screen;
  if (!screen.ready()) return kDialogFailed;
  focus_ = -1;
  moveFocus(1);
  for (;;) {
    draw();
    const int key = getch();
    if (key == ERR) {
      if (errno == EINTR) continue;
      return kDialogCancel;  // the terminal is gone: nobody can answer any more
    }
    std::optional<int> result;
    if (terminalTooSmall()) {
      if (key == kEscape) return kDialogCancel;
    } else if (key == KEY_MOUSE) {
      MEVENT event;
      if (getmouse(&event) == OK && (event.bstate & BUTTON1_PRESSED) != 0)
        result = clickAt(event.y - formTop(), event.x - formLeft());
    } else {
      result = pressKey(key);
    }
    if (result) return *result;
    if (controls_.empty()) return kDialogCancel;  // a handler released the form
  }
}

void TerminalDialog::draw() const {
  erase();
  if (terminalTooSmall()) {
    curs_set(0);
    const int width = std::min(COLS, static_cast<int>(kTooSmall.size()));
    drawText(LINES / 2, (COLS - width) / 2, kTooSmall, width);
    refresh();
    return;
  }
  const int top = formTop();
  const int left = formLeft();
  drawFrame({top, left, kFormRows, kFormColumns}, caption_);
  for (std::size_t i = 0; i < controls_.size(); ++i)
    drawControl(controls_[i], static_cast<int>(i) == focus_, top, left);

  // The terminal's cursor stands where the focused control takes input.
  curs_set(focus_ >= 0 ? 1 : 0);
  if (focus_ >= 0) {
    const Control& control = controls_[static_cast<std::size_t>(focus_)];
    int row = top + control.cell.row;
    int column = left + control.cell.column;
    if (control.source.kind == ControlKind::EditBox)
      column += 1 + static_cast<int>(control.caret - control.scroll);
    else if (control.source.kind == ControlKind::CheckBox)
      column += 1;
    else if (control.source.kind == ControlKind::ListBox)
      row += static_cast<int>(control.cursor - control.top);
    move(row, column);
  }
  refresh();
}

void TerminalDialog::drawControl(const Control& control, bool focused, int top, int left) const {
  const CellRect cell{top + control.cell.row, left + control.cell.column, control.cell.height,
                      control.cell.width};
  const attr_t base = control.enabled ? A_NORMAL : A_DIM;
  attrset(base);
  switch (control.source.kind) {
    case ControlKind::GroupBox: drawFrame(cell, control.text); break;
    case ControlKind::StaticText: {
      CellRect inside = cell;
      if (control.source.sunkenBorder) {
        drawFrame(cell, "");
        inside = {cell.row + 1, cell.column + 1, cell.height - 2, cell.width - 2};
      }
      const auto lines = textLines(control.text, inside.width, control.source.wraps);
      for (std::size_t i = 0; i < lines.size() && static_cast<int>(i) < inside.height; ++i)
        drawText(inside.row + static_cast<int>(i), inside.column, lines[i], inside.width);
      break;
    }
    case ControlKind::PushButton:
      if (control.source.defaultButton) attron(A_BOLD);
      if (focused) attron(A_REVERSE);
      drawButton(cell, control.text);
      break;
    case ControlKind::CheckBox:
      if (focused) attron(A_REVERSE);
      drawText(cell.row, cell.column, (control.checked ? "[x] " : "[ ] ") + control.text, cell.width);
      break;
    case ControlKind::EditBox: {
      const std::size_t width = editWidth(cell);
      drawText(cell.row, cell.column, "[", 1);
      drawText(cell.row, cell.column + cell.width - 1, "]", 1);
      if (control.marked) attron(A_REVERSE);
      drawText(cell.row, cell.column + 1, control.text.substr(std::min(control.scroll, control.text.size())),
               static_cast<int>(width));
      break;
    }
    case ControlKind::ListBox: {
      // Each row: a '*' for a selected item, highlighted too, and the item; the last column
      // shows '^' and 'v' while items lie above or below the rows shown.
      const auto rows = static_cast<std::size_t>(cell.height);
      for (std::size_t line = 0; line < rows; ++line) {
        const std::size_t item = control.top + line;
        const int row = cell.row + static_cast<int>(line);
        if (item < control.items.size()) {
          const bool selected = control.selected[item];
          attrset(base | (selected ? A_REVERSE : A_NORMAL) |
                  (focused && item == control.cursor ? A_UNDERLINE : A_NORMAL));
          drawText(row, cell.column,
                   fixedField((selected ? "*" : " ") + control.items[item],
                              static_cast<std::size_t>(cell.width - 1)),
                   cell.width - 1);
        }
        attrset(base);
        const bool more =
            line == 0 ? control.top > 0 : line == rows - 1 && control.top + rows < control.items.size();
        if (more)
          drawText(row, cell.column + cell.width - 1, line == 0 ? "^" : "v", 1);
        else
          mvaddch(row, cell.column + cell.width - 1, ACS_VLINE);
      }
      break;
    }
  }
  attrset(A_NORMAL);
}

}  // namespace qtv
