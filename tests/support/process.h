#pragma once
// Runs a program and collects what it wrote.
#include <string>
#include <vector>

namespace qtv::test {

struct ProcessResult {
  int status = -1;
  std::string standardOutput;
  std::string standardError;
};

// Runs `arguments` (the program first) with `input` on its standard input and no terminal, and
// returns its exit status and output.
ProcessResult runProgram(const std::vector<std::string>& arguments, const std::string& input = "",
                         const std::vector<std::string>& environment = {});

}  // namespace qtv::test
