#pragma once
// A Retry/Cancel message box asked on the console, for runs without a display.
#include "platform/platform.h"

namespace qtv {

class ConsoleMessageBox : public MessageBox {
 public:
  explicit ConsoleMessageBox(Console& console) : console_(console) {}
  // Writes the caption and the text, then asks until the answer is Retry or Cancel; the end of
  // input counts as Cancel.
  MessageBoxAnswer show(std::string_view text, std::string_view caption) override;

 private:
  Console& console_;
};

}  // namespace qtv
