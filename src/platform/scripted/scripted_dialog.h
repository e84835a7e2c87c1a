#pragma once
// A dialog facility without a window: it keeps every control's value in memory and plays a
// script of user actions, one attempt per runModal(). It drives the extract subcommand and the
// tests, so it runs the control handlers exactly where a user's change would run them.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/platform.h"

namespace qtv {

namespace user {
// Types the text key by key at the end of the edit box: one change per character.
struct TypeText {
  int controlId;
  std::string text;
};
// Deletes the whole content: one change, none when the box is already empty.
struct ClearText {
  int controlId;
};
// Selects the whole content and types over it: one change, none when the text stays the same.
struct ReplaceText {
  int controlId;
  std::string text;
};
// Toggles a check box.
struct Click {
  int controlId;
};
// Clicks the check box when its state is not the one wanted; nothing otherwise.
struct Check {
  int controlId;
  bool checked;
};
// Toggles the selection of one item (1-based position).
struct ToggleItem {
  int listId;
  std::int32_t position;
};
// Replaces the whole selection in one change, as a range selection does.
struct SelectItems {
  int listId;
  std::vector<std::int32_t> positions;
};
// Selects every item in one change.
struct SelectAll {
  int listId;
};
// Replaces the whole selection, in one change, by the items that show these node numbers. A
// number no item shows is a UsageError: the run cannot give the user what was asked for.
struct SelectNodes {
  int listId;
  std::vector<std::int32_t> nodes;
};
struct PressOk {};
struct PressCancel {};
// The facility breaks down while the dialog is shown: runModal() gives kDialogFailed.
struct FailModal {};
}  // namespace user

using UserAction = std::variant<user::TypeText, user::ClearText, user::ReplaceText, user::Click, user::Check,
                                user::ToggleItem, user::SelectItems, user::SelectAll,
                                user::SelectNodes, user::PressOk, user::PressCancel,
                                user::FailModal>;
// The actions of one dialog attempt, from opening to closing.
using DialogScript = std::vector<UserAction>;

// One control as the user sees it.
struct ControlState {
  ControlKind kind = ControlKind::StaticText;
  std::string text;
  bool checked = false;
  bool enabled = true;
  std::vector<std::string> items;
  std::vector<std::int32_t> selectedPositions;  // ascending

  bool operator==(const ControlState&) const = default;
};
// Every addressable control of a dialog, by id.
using FormState = std::map<int, ControlState>;

class ScriptedDialog : public DialogFacility {
 public:
  // runModal() plays attempts[0], then attempts[1], ...; with no attempt left the user closes
  // the dialog (kDialogCancel). An attempt that ends without a press closes it the same way.
  // openFails: the dialog can never be opened.
  ScriptedDialog() = default;
  explicit ScriptedDialog(std::vector<DialogScript> attempts, bool openFails = false);

  bool open(const DialogTemplate& dialogTemplate) override;
  void setHandler(int controlId, ControlHandler handler) override;
  void setText(int controlId, std::string_view text) override;
  void setChecked(int controlId, bool checked) override;
  void setEnabled(int controlId, bool enabled) override;
  void setItemCount(int listId, std::int32_t n) override;
  void setItemText(int listId, std::int32_t position, std::string_view text) override;
  int runModal() override;
  void release() override;
  std::string getText(int controlId, std::size_t fieldLength) override;
  bool getChecked(int controlId) override;
  std::int32_t getSelectedItem(int listId, std::int32_t k) override;
  std::string getItemText(int listId, std::int32_t position, std::size_t fieldLength) override;

  // What a test looks at afterwards.
  bool isOpen() const { return isOpen_; }
  int openCount() const { return openCount_; }
  int releaseCount() const { return releaseCount_; }
  // The form as it stood when each runModal() began, one entry per call.
  const std::vector<FormState>& formsShown() const { return formsShown_; }
  // The control id of every handler run, in order.
  const std::vector<int>& handlerRuns() const { return handlerRuns_; }
  // The current form (empty once released).
  FormState form() const;

 private:
  struct Control {
    ControlState state;
    ControlHandler handler;
    // state.selectedPositions is rebuilt from `selected` only when asked for after a change,
    // so a whole selection is read in time linear in its size.
    std::vector<bool> selected;
    bool selectionStale = false;
  };

  Control& control(int controlId);
  Control& control(int controlId, ControlKind kind);
  const std::vector<std::int32_t>& selectedPositions(Control& list);
  void userChanged(int controlId, Control& changed);
  void selectOnly(int listId, const std::vector<std::int32_t>& positions);
  // Plays one action; the button id when it closes the dialog.
  std::optional<int> play(const UserAction& action);

  std::vector<DialogScript> attempts_;
  std::size_t nextAttempt_ = 0;
  bool openFails_ = false;
  bool isOpen_ = false;
  int openCount_ = 0;
  int releaseCount_ = 0;
  std::map<int, Control> controls_;
  std::vector<FormState> formsShown_;
  std::vector<int> handlerRuns_;
};

}  // namespace qtv
