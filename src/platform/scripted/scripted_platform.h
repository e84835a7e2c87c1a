#pragma once
// In-memory console, message box and file-open box that answer from queues and record what the
// program showed, and a bundle of them with a scripted dialog.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/scripted/scripted_dialog.h"

namespace qtv {

class RecordingConsole : public Console {
 public:
  // inputLines answer readLine() in turn, without their line ends; then the input has ended.
  RecordingConsole() = default;
  explicit RecordingConsole(std::vector<std::string> inputLines);

  void writeLine(std::string_view text) override;
  void writePrompt(std::string_view text) override;
  std::optional<std::string> readLine() override;
  void waitForKey() override;

  std::vector<std::string> lines;    // every writeLine, in order
  std::vector<std::string> prompts;  // every writePrompt, in order
  int keyWaits = 0;

 private:
  std::deque<std::string> input_;
};

class ScriptedMessageBox : public MessageBox {
 public:
  // The answers in turn; once they are used up every box is cancelled.
  ScriptedMessageBox() = default;
  explicit ScriptedMessageBox(std::vector<MessageBoxAnswer> answers);

  MessageBoxAnswer show(std::string_view text, std::string_view caption) override;

  struct Shown {
    std::string text;
    std::string caption;
    bool operator==(const Shown&) const = default;
  };
  std::vector<Shown> shown;

 private:
  std::deque<MessageBoxAnswer> answers_;
};

class ScriptedFileOpenBox : public FileOpenBox {
 public:
  // The chosen paths in turn (nullopt: the box is cancelled); once used up every box is cancelled.
  ScriptedFileOpenBox() = default;
  explicit ScriptedFileOpenBox(std::vector<std::optional<std::string>> answers);

  std::optional<std::string> choose(const FileOpenRequest& request) override;

  std::vector<FileOpenRequest> requests;

 private:
  std::deque<std::optional<std::string>> answers_;
};

// A whole platform without a user. Keep it in place while platform() is in use: the Platform
// refers to its members.
struct ScriptedPlatform {
  RecordingConsole console;
  ScriptedFileOpenBox fileOpenBox;
  ScriptedMessageBox messageBox;
  ScriptedDialog dialog;

  Platform platform() { return Platform{console, fileOpenBox, messageBox, dialog}; }
};

}  // namespace qtv
