#pragma once
// The file-open box: Qt's own QFileDialog, the same on every desktop and in offscreen tests.
#include "platform/platform.h"

namespace qtv {

// Needs a QApplication.
class QtFileOpenBox final : public FileOpenBox {
 public:
  std::optional<std::string> choose(const FileOpenRequest& request) override;
};

}  // namespace qtv
