#pragma once
// The Retry/Cancel message box as a centred box on a text terminal.
#include "platform/platform.h"

namespace qtv {

// Shown over the form when a terminal form is open, otherwise on a screen of its own that
// ends with the box. Keys: Left, Right, Tab and Shift-Tab move between Retry and Cancel, Enter
// chooses, Escape is Cancel, 'r' and 'c' choose at once; a click on a button chooses it.
class TerminalMessageBox : public MessageBox {
 public:
  // `fallback` asks when the terminal cannot be set up.
  explicit TerminalMessageBox(MessageBox& fallback) : fallback_(fallback) {}
  MessageBoxAnswer show(std::string_view text, std::string_view caption) override;

 private:
  MessageBox& fallback_;
};

}  // namespace qtv
