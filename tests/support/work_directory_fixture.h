#pragma once
// Hand-made work directories for end-to-end runs: a comdin.dat and results files whose every
// value is known.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "temporary_directory.h"

namespace qtv::test {

struct CaseShape {
  std::int32_t nodeCount = 3;
  std::int32_t dofPerNode = 3;
  std::vector<std::int32_t> restrainedNodes{};  // all codes 1
  std::string DT = "0.1";
  std::string TT = "0.5";
  std::int32_t stepCount = 6;
  std::string language = "E";
  std::int64_t storedSteps = 6;  // time blocks written to the results files
};

// Word `word` (0-based) of the record of `node` at `step`; file 1 is u01.unf, 2 is u2.unf.
using ResultValue = std::function<float(int file, std::int32_t node, std::int64_t step, int word)>;

// displacement = node + step/4, velocity = -(node + step/8), acceleration = step/2 + dof/16,
// all exact in binary; the unread words hold 9999.
float knownValue(int file, std::int32_t node, std::int64_t step, int word, std::int32_t dofPerNode);

// A scratch work directory; names are of files in it.
class WorkDirectoryFixture : public TemporaryDirectory {
 public:
  void writeCase(const CaseShape& shape);
  void writeCase(const CaseShape& shape, const ResultValue& value);
  void writeText(const std::string& name, const std::string& text) const { writeTextFile(file(name), text); }
  std::string readText(const std::string& name) const { return readTextFile(file(name)); }
  bool exists(const std::string& name) const;
  void truncate(const std::string& name, std::int64_t size) const;
};

std::string comdinText(const CaseShape& shape);

}  // namespace qtv::test
