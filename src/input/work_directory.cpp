#include "input/work_directory.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/fixed_text.h"
#include "platform/program_end.h"

namespace qtv {

namespace {

bool isRegularFile(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

bool isDirectory(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

std::optional<std::string> currentDirectory() {
  std::string buffer(4096, '\0');
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return std::nullopt;
    buffer.resize(buffer.size() * 2);
  }
  buffer.resize(buffer.find('\0'));
  return buffer;
}

// The folder the box opens in: the current directory without its last three characters, then
// "work" (started in /home/ana/models/bin, the box opens in /home/ana/models/work).
std::string initialFolder(const std::string& current) {
  return current.substr(0, current.size() > 3 ? current.size() - 3 : 0) + "work";
}

}  // namespace

std::string workDirectoryFile(std::string_view workDirectory, std::string_view fileName) {
  std::string path(withoutTrailingBlanks(workDirectory));
  if (path.empty() || path.back() != '/') path += '/';
  path += fileName;
  return path;
}

bool requiredFilesExist(std::string_view workDirectory) {
  const bool description = isRegularFile(workDirectoryFile(workDirectory, "comdin.dat"));
  const bool results = isRegularFile(workDirectoryFile(workDirectory, "u01.unf"));
  return description && results;
}

std::string selectWorkDirectory(Platform& platform, std::string& lastChosenFile) {
  for (;;) {
    const auto current = currentDirectory();
    if (!current) throw ProgramEnd{0};
    FileOpenRequest request{"Select Any File in the Work Directory", "All files", "*",
                            initialFolder(*current), lastChosenFile};
    if (const auto chosen = platform.fileOpenBox.choose(request)) {
      lastChosenFile = *chosen;
      return chosen->substr(0, chosen->rfind('/') + 1);
    }
    platform.console.writePrompt(" Input Working Directory:");
    const auto line = platform.console.readLine();
    if (!line) throw FatalError("standard input: the input ended while the work directory was asked for");
    const std::string candidate(withoutTrailingBlanks(*line));
    if (!candidate.empty() && isDirectory(candidate)) return candidate;
    platform.console.writeLine(" Directory doesn't exist");
  }
}

}  // namespace qtv
