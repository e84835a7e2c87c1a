#include "platform/scripted/scripted_dialog.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>
#include <unordered_map>
#include <utility>

#include "platform/fixed_text.h"
#include "platform/program_end.h"

namespace qtv {

namespace {

template <class... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};

[[noreturn]] void scriptFault(const std::string& what) {
  throw std::logic_error("scripted dialog: " + what);
}

std::vector<std::int32_t> positionsOf(const std::vector<bool>& selected) {
  std::vector<std::int32_t> positions;
  for (std::size_t i = 0; i < selected.size(); ++i) {
    if (selected[i]) positions.push_back(static_cast<std::int32_t>(i + 1));
  }
  return positions;
}

// The node number an item shows; nullopt for an item that shows none.
std::optional<std::int32_t> itemNode(std::string_view text) {
  text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
  text = withoutTrailingBlanks(text);
  std::int32_t node = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), node);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return node;
}

}  // namespace

ScriptedDialog::ScriptedDialog(std::vector<DialogScript> attempts, bool openFails)
    : attempts_(std::move(attempts)), openFails_(openFails) {}

bool ScriptedDialog::open(const DialogTemplate& dialogTemplate) {
  if (isOpen_) scriptFault("opened twice without release");
  if (openFails_) return false;
  controls_.clear();
  for (const ControlTemplate& item : dialogTemplate.controls) {
    if (item.id == kNoControlId) continue;
    Control& added = controls_[item.id];
    added.state.kind = item.kind;
    // Edit boxes start empty; the other controls show their caption.
    if (item.kind != ControlKind::EditBox) added.state.text = std::string(item.caption);
  }
  isOpen_ = true;
  ++openCount_;
  return true;
}

ScriptedDialog::Control& ScriptedDialog::control(int controlId) {
  if (!isOpen_) scriptFault("no dialog is open");
  const auto found = controls_.find(controlId);
  if (found == controls_.end()) scriptFault("no control " + std::to_string(controlId));
  return found->second;
}

ScriptedDialog::Control& ScriptedDialog::control(int controlId, ControlKind kind) {
  Control& found = control(controlId);
  if (found.state.kind != kind) scriptFault("control " + std::to_string(controlId) + " has another kind");
  return found;
}

void ScriptedDialog::setHandler(int controlId, ControlHandler handler) {
  control(controlId).handler = std::move(handler);
}

void ScriptedDialog::setText(int controlId, std::string_view text) {
  control(controlId).state.text = std::string(withoutTrailingBlanks(text));
}

void ScriptedDialog::setChecked(int controlId, bool checked) {
  control(controlId, ControlKind::CheckBox).state.checked = checked;
}

void ScriptedDialog::setEnabled(int controlId, bool enabled) {
  control(controlId).state.enabled = enabled;
}

void ScriptedDialog::setItemCount(int listId, std::int32_t n) {
  Control& list = control(listId, ControlKind::ListBox);
  const auto count = static_cast<std::size_t>(std::max(n, 0));
  list.state.items.assign(count, std::string{});
  list.selected.assign(count, false);
  list.state.selectedPositions.clear();
  list.selectionStale = false;
}

void ScriptedDialog::setItemText(int listId, std::int32_t position, std::string_view text) {
  Control& list = control(listId, ControlKind::ListBox);
  if (position < 1 || static_cast<std::size_t>(position) > list.state.items.size()) return;
  list.state.items[static_cast<std::size_t>(position - 1)] = std::string(text);
}

int ScriptedDialog::runModal() {
  if (!isOpen_) scriptFault("runModal without an open dialog");
  formsShown_.push_back(form());
  if (nextAttempt_ == attempts_.size()) return kDialogCancel;
  const DialogScript& script = attempts_[nextAttempt_++];
  for (const UserAction& action : script) {
    if (const auto button = play(action)) return *button;
  }
  return kDialogCancel;
}

void ScriptedDialog::release() {
  if (!isOpen_) scriptFault("release without an open dialog");
  controls_.clear();
  isOpen_ = false;
  ++releaseCount_;
}

std::string ScriptedDialog::getText(int controlId, std::size_t fieldLength) {
  return fixedField(control(controlId).state.text, fieldLength);
}

bool ScriptedDialog::getChecked(int controlId) {
  return control(controlId, ControlKind::CheckBox).state.checked;
}

std::int32_t ScriptedDialog::getSelectedItem(int listId, std::int32_t k) {
  const std::vector<std::int32_t>& positions = selectedPositions(control(listId, ControlKind::ListBox));
  if (k < 1 || static_cast<std::size_t>(k) > positions.size()) return 0;
  return positions[static_cast<std::size_t>(k - 1)];
}

std::string ScriptedDialog::getItemText(int listId, std::int32_t position, std::size_t fieldLength) {
  const Control& list = control(listId, ControlKind::ListBox);
  if (position < 1 || static_cast<std::size_t>(position) > list.state.items.size()) {
    scriptFault("no item " + std::to_string(position) + " in list " + std::to_string(listId));
  }
  return fixedField(list.state.items[static_cast<std::size_t>(position - 1)], fieldLength);
}

FormState ScriptedDialog::form() const {
  FormState shown;
  for (const auto& [id, item] : controls_) {
    ControlState& state = shown[id] = item.state;
    if (item.state.kind == ControlKind::ListBox) state.selectedPositions = positionsOf(item.selected);
  }
  return shown;
}

const std::vector<std::int32_t>& ScriptedDialog::selectedPositions(Control& list) {
  if (list.selectionStale) {
    list.state.selectedPositions = positionsOf(list.selected);
    list.selectionStale = false;
  }
  return list.state.selectedPositions;
}

void ScriptedDialog::userChanged(int controlId, Control& changed) {
  if (!changed.handler) return;
  handlerRuns_.push_back(controlId);
  changed.handler(controlId);
}

void ScriptedDialog::selectOnly(int listId, const std::vector<std::int32_t>& positions) {
  Control& list = control(listId, ControlKind::ListBox);
  if (!list.state.enabled) return;
  std::vector<bool> selected(list.state.items.size(), false);
  for (const std::int32_t position : positions) {
    if (position < 1 || static_cast<std::size_t>(position) > selected.size()) {
      scriptFault("no item " + std::to_string(position) + " in list " + std::to_string(listId));
    }
    selected[static_cast<std::size_t>(position - 1)] = true;
  }
  list.selected = std::move(selected);
  list.selectionStale = true;
  userChanged(listId, list);
}

std::optional<int> ScriptedDialog::play(const UserAction& action) {
  return std::visit(
      Overloaded{
          [&](const user::TypeText& typing) -> std::optional<int> {
            Control& box = control(typing.controlId, ControlKind::EditBox);
            if (!box.state.enabled) return std::nullopt;
            for (const char key : typing.text) {
              box.state.text += key;
              userChanged(typing.controlId, box);
            }
            return std::nullopt;
          },
          [&](const user::ClearText& clearing) -> std::optional<int> {
            Control& box = control(clearing.controlId, ControlKind::EditBox);
            if (!box.state.enabled || box.state.text.empty()) return std::nullopt;
            box.state.text.clear();
            userChanged(clearing.controlId, box);
            return std::nullopt;
          },
          [&](const user::ReplaceText& replacing) -> std::optional<int> {
            Control& box = control(replacing.controlId, ControlKind::EditBox);
            if (!box.state.enabled || box.state.text == replacing.text) return std::nullopt;
            box.state.text = replacing.text;
            userChanged(replacing.controlId, box);
            return std::nullopt;
          },
          [&](const user::Click& click) -> std::optional<int> {
            Control& box = control(click.controlId, ControlKind::CheckBox);
            if (!box.state.enabled) return std::nullopt;
            box.state.checked = !box.state.checked;
            userChanged(click.controlId, box);
            return std::nullopt;
          },
          [&](const user::Check& check) -> std::optional<int> {
            if (control(check.controlId, ControlKind::CheckBox).state.checked == check.checked) return std::nullopt;
            return play(user::Click{check.controlId});
          },
          [&](const user::ToggleItem& toggle) -> std::optional<int> {
            Control& list = control(toggle.listId, ControlKind::ListBox);
            if (toggle.position < 1 || static_cast<std::size_t>(toggle.position) > list.selected.size()) {
              scriptFault("no item " + std::to_string(toggle.position) + " in list " +
                          std::to_string(toggle.listId));
            }
            if (!list.state.enabled) return std::nullopt;
            list.selected[static_cast<std::size_t>(toggle.position - 1)].flip();
            list.selectionStale = true;
            userChanged(toggle.listId, list);
            return std::nullopt;
          },
          [&](const user::SelectItems& selection) -> std::optional<int> {
            selectOnly(selection.listId, selection.positions);
            return std::nullopt;
          },
          [&](const user::SelectAll& selection) -> std::optional<int> {
            std::vector<std::int32_t> every(control(selection.listId, ControlKind::ListBox).state.items.size());
            for (std::size_t i = 0; i < every.size(); ++i) every[i] = static_cast<std::int32_t>(i + 1);
            selectOnly(selection.listId, every);
            return std::nullopt;
          },
          [&](const user::SelectNodes& selection) -> std::optional<int> {
            const std::vector<std::string>& items = control(selection.listId, ControlKind::ListBox).state.items;
            std::unordered_map<std::int32_t, std::int32_t> positionOfNode;
            for (std::size_t i = 0; i < items.size(); ++i) {
              if (const auto node = itemNode(items[i])) {
                positionOfNode.emplace(*node, static_cast<std::int32_t>(i + 1));
              }
            }
            std::vector<std::int32_t> positions;
            positions.reserve(selection.nodes.size());
            for (const std::int32_t node : selection.nodes) {
              const auto found = positionOfNode.find(node);
              if (found == positionOfNode.end()) {
                throw UsageError("node " + std::to_string(node) + " is not offered by the node list");
              }
              positions.push_back(found->second);
            }
            selectOnly(selection.listId, positions);
            return std::nullopt;
          },
          [](const user::PressOk&) -> std::optional<int> { return kDialogOk; },
          [](const user::PressCancel&) -> std::optional<int> { return kDialogCancel; },
          [](const user::FailModal&) -> std::optional<int> { return kDialogFailed; },
      },
      action);
}

}  // namespace qtv
