#pragma once
// The seam between the program and the machine: console, file-open box, message box, dialog
// facility. The subsystems use only these interfaces; main picks the backends (stdio, qt,
// scripted, terminal).
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qtv {

// Standard output for progress lines, one prompt and one line read, and the final key wait.
class Console {
 public:
  virtual ~Console() = default;
  // Writes text and ends the line.
  virtual void writeLine(std::string_view text) = 0;
  // Writes text without a line end; the user answers on the same line.
  virtual void writePrompt(std::string_view text) = 0;
  // One line without its line end (a trailing CR is dropped too); nullopt at the end of input.
  virtual std::optional<std::string> readLine() = 0;
  // Returns once a key press is waiting, without consuming it.
  virtual void waitForKey() = 0;
};

struct FileOpenRequest {
  std::string title;
  std::string filterDescription;
  std::string filterPattern;
  std::string initialFolder;
  std::string fileName;  // shown in the file name field
};

// The system's file-open box. The chosen file's full path, or nullopt when the box is
// cancelled or cannot be shown.
class FileOpenBox {
 public:
  virtual ~FileOpenBox() = default;
  virtual std::optional<std::string> choose(const FileOpenRequest& request) = 0;
};

enum class MessageBoxAnswer { Retry, Cancel };

// A modal box with the stop icon and the buttons Retry and Cancel. The text may hold a line
// feed.
class MessageBox {
 public:
  virtual ~MessageBox() = default;
  virtual MessageBoxAnswer show(std::string_view text, std::string_view caption) = 0;
};

// ---- Dialog templates: what a dialog facility builds a form from -------------------------

enum class ControlKind { PushButton, StaticText, EditBox, ListBox, GroupBox, CheckBox };

inline constexpr int kNoControlId = -1;

// One control of a template. Positions and sizes are in dialog units: a horizontal unit is a
// quarter of the dialog font's average character width, a vertical unit an eighth of its height.
struct ControlTemplate {
  int id;  // kNoControlId for labels and frames the program never addresses
  ControlKind kind;
  std::string_view caption;
  int x, y, width, height;
  bool defaultButton = false;  // push button pressed by Enter
  bool sunkenBorder = false;   // static text drawn in a sunken frame
  bool wraps = false;          // static text that wraps onto two lines
};

struct DialogTemplate {
  int id;
  std::string_view caption;
  int width, height;  // dialog units
  std::string_view fontName;
  int fontPointSize;
  std::span<const ControlTemplate> controls;  // template order = tab order
};

// Button ids of a closed dialog, as run modal reports them.
inline constexpr int kDialogOk = 1;
inline constexpr int kDialogCancel = 2;
inline constexpr int kDialogFailed = -1;

// Called with the id of the control the user changed.
using ControlHandler = std::function<void(int controlId)>;

// A modal dialog built from a template that keeps a value for every control. The handler of a
// control runs on the user's changes only (an edit box: every change of its text; a check box:
// a click; a list box: every change of the selection), never for OK and Cancel, never for
// changes made through the set operations, never while the form is being filled.
// List positions are 1-based.
class DialogFacility {
 public:
  virtual ~DialogFacility() = default;
  // Builds the dialog with every control in its template state; false when it cannot.
  virtual bool open(const DialogTemplate& dialogTemplate) = 0;
  virtual void setHandler(int controlId, ControlHandler handler) = 0;
  // Static text: its caption; edit box: its content. Trailing blanks are dropped.
  virtual void setText(int controlId, std::string_view text) = 0;
  virtual void setChecked(int controlId, bool checked) = 0;
  virtual void setEnabled(int controlId, bool enabled) = 0;
  // The list then holds n empty items and no selection.
  virtual void setItemCount(int listId, std::int32_t n) = 0;
  // Replaces the text of item `position`; a position outside 1..n is refused, changing nothing.
  virtual void setItemText(int listId, std::int32_t position, std::string_view text) = 0;
  // Shows the dialog until OK (kDialogOk) or Cancel, the close box or Escape (kDialogCancel);
  // kDialogFailed when it cannot be shown.
  virtual int runModal() = 0;
  virtual void release() = 0;
  // The edit box content, blank-padded or cut to fieldLength.
  virtual std::string getText(int controlId, std::size_t fieldLength) = 0;
  virtual bool getChecked(int controlId) = 0;
  // Position of the k-th selected item in ascending position order; 0 when fewer than k are
  // selected. Asking for k = 1, 2, 3, ... in turn costs constant time per call.
  virtual std::int32_t getSelectedItem(int listId, std::int32_t k) = 0;
  // The item text, blank-padded or cut to fieldLength.
  virtual std::string getItemText(int listId, std::int32_t position, std::size_t fieldLength) = 0;
};

// The platform a run talks to.
struct Platform {
  Console& console;
  FileOpenBox& fileOpenBox;
  MessageBox& messageBox;
  DialogFacility& dialog;
};

}  // namespace qtv
