#pragma once
// The work directory: the folder of every file of a run.
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace qtv {

// The path of `fileName` in the work directory: a '/' is put between them unless the directory
// text already ends with one.
std::string workDirectoryFile(std::string_view workDirectory, std::string_view fileName);

// True when both comdin.dat and u01.unf exist in the work directory (both are always tested).
bool requiredFilesExist(std::string_view workDirectory);

// Lets the user name the work directory: the file-open box, or the console when the box is
// cancelled or fails. `lastChosenFile` carries the file chosen at the previous selection of
// the run. Ends the run (ProgramEnd 0) when the current directory cannot be found; throws
// FatalError at the end of the console's input.
std::string selectWorkDirectory(Platform& platform, std::string& lastChosenFile);

}  // namespace qtv
