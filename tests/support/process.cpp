#include "process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "temporary_directory.h"

extern char** environ;

namespace qtv::test {

ProcessResult runProgram(const std::vector<std::string>& arguments, const std::string& input,
                         const std::vector<std::string>& environment) {
  const TemporaryDirectory folder;
  const std::string base = folder.path();
  writeTextFile(base + "/in", input);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, (base + "/in").c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, (base + "/out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, (base + "/err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);

  std::vector<char*> argv;
  for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  // The child sees no display, so every run is one without windows.
  std::vector<std::string> variables;
  for (char** variable = environ; *variable != nullptr; ++variable) {
    const std::string text = *variable;
    if (text.rfind("DISPLAY=", 0) == 0 || text.rfind("WAYLAND_DISPLAY=", 0) == 0) continue;
    variables.push_back(text);
  }
  variables.insert(variables.end(), environment.begin(), environment.end());
  std::vector<char*> envp;
  for (auto& variable : variables) envp.push_back(variable.data());
  envp.push_back(nullptr);

  pid_t child = 0;
  const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error("cannot start " + arguments.front());
  int waitStatus = 0;
  waitpid(child, &waitStatus, 0);

  ProcessResult result;
  result.status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 128 + WTERMSIG(waitStatus);
  result.standardOutput = readTextFile(base + "/out");
  result.standardError = readTextFile(base + "/err");
  return result;
}

}  // namespace qtv::test
