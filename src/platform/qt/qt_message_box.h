#pragma once
// Retry/Cancel questions in a QMessageBox with the critical (stop) icon.
#include "platform/platform.h"

namespace qtv {

// Needs a QApplication.
class QtMessageBox final : public MessageBox {
 public:
  MessageBoxAnswer show(std::string_view text, std::string_view caption) override;
};

}  // namespace qtv
