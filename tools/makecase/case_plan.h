#pragma once
// What a sample case holds: the model's numbering and time axis, worked out from the options.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qtv {

struct CaseOptions {
  std::int32_t nodeCount = 12;
  std::int32_t dofPerNode = 3;
  double dt = 0.01;        // seconds
  double duration = 10.0;  // seconds
  std::string language = "E";
  std::optional<std::int32_t> baseNodeCount{};  // default: one per column of up to six nodes
};

// A column of the building: its base node, then its storey nodes, numbered consecutively.
struct Column {
  std::int32_t baseNode;
  std::int32_t storeyCount;
};

struct CasePlan {
  std::int32_t nodeCount = 0;
  std::int32_t dofPerNode = 0;
  float DT = 0;
  float TT = 0;
  std::int32_t stepCount = 0;  // steps of the analysis, time 0 included
  // Time blocks written to the results files: every step s with float(s) * DT <= TT in single
  // precision, which may be one or two more than stepCount when the product rounds down.
  std::int64_t storedStepCount = 0;
  bool romanian = false;
  std::vector<Column> columns;
  double storeyMass = 200.0e3;  // kg
  double dampingRatio = 0.05;
};

// Checks the options and works out the plan. Throws UsageError naming the option at fault.
CasePlan planCase(const CaseOptions& options);

}  // namespace qtv
