#pragma once
// The console on the process's standard streams.
#include <cstdio>

#include "platform/platform.h"

namespace qtv {

class StdioConsole : public Console {
 public:
  StdioConsole(std::FILE* input, std::FILE* output) : input_(input), output_(output) {}
  void writeLine(std::string_view text) override;
  void writePrompt(std::string_view text) override;
  std::optional<std::string> readLine() override;
  // Waits until a key press is waiting on the terminal, without consuming it; when standard
  // input is not a terminal there is no key to take, and it returns at once.
  void waitForKey() override;

 private:
  std::FILE* input_;
  std::FILE* output_;
};

}  // namespace qtv
