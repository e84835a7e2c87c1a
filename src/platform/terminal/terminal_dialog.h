#pragma once
// The dialog facility as a full-screen form on a text terminal, for runs over SSH without a
// display: the template's controls scaled from dialog units to character cells.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/terminal/form_layout.h"

namespace qtv {

// Keys: Tab and Shift-Tab move through the controls in template order; typing, Backspace,
// Delete, Left, Right, Home and End edit the focused edit box (Tab into an edit box marks its
// whole text, which the first key then replaces); Space toggles the focused check box or the
// list item under the list's cursor; Up, Down, PgUp, PgDn, Home and End move that cursor;
// Enter presses the focused button, elsewhere the default button; Escape is Cancel. A mouse
// click toggles a check box or a list item, focuses an edit box and presses a button.
class TerminalDialog : public DialogFacility {
 public:
  // Needs no terminal: the form is laid out here and shown by runModal. False when the
  // template cannot be arranged in 80 x 24 characters.
  bool open(const DialogTemplate& dialogTemplate) override;
  void setHandler(int controlId, ControlHandler handler) override;
  void setText(int controlId, std::string_view text) override;
  void setChecked(int controlId, bool checked) override;
  void setEnabled(int controlId, bool enabled) override;
  void setItemCount(int listId, std::int32_t n) override;
  void setItemText(int listId, std::int32_t position, std::string_view text) override;
  // Takes over standard input and output until the form closes; kDialogFailed when the
  // terminal cannot be set up.
  int runModal() override;
  void release() override;
  std::string getText(int controlId, std::size_t fieldLength) override;
  bool getChecked(int controlId) override;
  std::int32_t getSelectedItem(int listId, std::int32_t k) override;
  std::string getItemText(int listId, std::int32_t position, std::size_t fieldLength) override;

  // One user action on the open form, as the modal loop passes them on: a curses key code, or
  // a click on a cell in form coordinates. The button id when the action closes the form.
  std::optional<int> pressKey(int key);
  std::optional<int> clickAt(int row, int column);
  // The template index of the control with the focus; -1 before the form has run.
  int focusIndex() const { return focus_; }

 private:
  struct Control {
    ControlTemplate source;
    CellRect cell;
    std::string text;  // caption or content
    bool checked = false;
    bool enabled = true;
    ControlHandler handler;
    // Edit box: the caret, the first character shown, and whether the whole text is marked.
    std::size_t caret = 0;
    std::size_t scroll = 0;
    bool marked = false;
    // List box: the items, their selection, the selected positions in ascending order (rebuilt
    // on the first query after a change), the cursor item and the first item shown (0-based).
    std::vector<std::string> items;
    std::vector<bool> selected;
    std::vector<std::int32_t> selectedPositions;
    bool positionsKnown = true;
    std::size_t cursor = 0;
    std::size_t top = 0;
  };

  Control* find(int controlId);
  bool focusable(const Control& control) const;
  void moveFocus(int step);
  void focusOn(std::size_t index);
  void runHandler(const Control& control);
  void toggle(Control& checkBox);
  void toggleItem(Control& list, std::size_t item);
  void editKey(Control& edit, int key);
  void listKey(Control& list, int key);
  void draw() const;
  void drawControl(const Control& control, bool focused, int top, int left) const;

  std::string caption_;
  std::vector<Control> controls_;
  int focus_ = -1;
};

}  // namespace qtv
