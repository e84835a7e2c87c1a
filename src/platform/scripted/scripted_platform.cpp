#include "platform/scripted/scripted_platform.h"

#include <utility>

namespace qtv {

namespace {

template <class T>
std::optional<T> takeFront(std::deque<T>& queue) {
  if (queue.empty()) return std::nullopt;
  T front = std::move(queue.front());
  queue.pop_front();
  return front;
}

}  // namespace

RecordingConsole::RecordingConsole(std::vector<std::string> inputLines)
    : input_(std::make_move_iterator(inputLines.begin()), std::make_move_iterator(inputLines.end())) {}

void RecordingConsole::writeLine(std::string_view text) { lines.emplace_back(text); }

void RecordingConsole::writePrompt(std::string_view text) { prompts.emplace_back(text); }

std::optional<std::string> RecordingConsole::readLine() {
  std::optional<std::string> line = takeFront(input_);
  // A line typed on a terminal that sends CR LF reads without its CR.
  if (line && !line->empty() && line->back() == '\r') line->pop_back();
  return line;
}

void RecordingConsole::waitForKey() { ++keyWaits; }

ScriptedMessageBox::ScriptedMessageBox(std::vector<MessageBoxAnswer> answers)
    : answers_(answers.begin(), answers.end()) {}

MessageBoxAnswer ScriptedMessageBox::show(std::string_view text, std::string_view caption) {
  shown.push_back(Shown{std::string(text), std::string(caption)});
  return takeFront(answers_).value_or(MessageBoxAnswer::Cancel);
}

ScriptedFileOpenBox::ScriptedFileOpenBox(std::vector<std::optional<std::string>> answers)
    : answers_(std::make_move_iterator(answers.begin()), std::make_move_iterator(answers.end())) {}

std::optional<std::string> ScriptedFileOpenBox::choose(const FileOpenRequest& request) {
  requests.push_back(request);
  return takeFront(answers_).value_or(std::nullopt);
}

}  // namespace qtv
