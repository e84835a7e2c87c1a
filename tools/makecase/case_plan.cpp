#include "case_plan.h"

#include <cmath>
#include <limits>

#include "platform/program_end.h"

namespace qtv {

namespace {
constexpr std::int32_t kNodesPerColumn = 6;
}

CasePlan planCase(const CaseOptions& options) {
  CasePlan plan;
  if (options.nodeCount < 1) throw UsageError("--nodes must be at least 1");
  if (options.dofPerNode < 1 || options.dofPerNode > 3) throw UsageError("--dof must be 1, 2 or 3");
  plan.nodeCount = options.nodeCount;
  plan.dofPerNode = options.dofPerNode;

  plan.DT = static_cast<float>(options.dt);
  if (!std::isfinite(options.dt) || !(plan.DT > 0) || !std::isfinite(plan.DT))
    throw UsageError("--dt must be a positive number of seconds");
  if (!std::isfinite(options.duration) || options.duration < 0)
    throw UsageError("--duration must be zero or a positive number of seconds");
  const double steps = std::round(options.duration / static_cast<double>(plan.DT));
  if (steps + 1 > std::numeric_limits<std::int32_t>::max())
    throw UsageError("--duration / --dt gives more steps than the analysis description can hold");
  const auto lastStep = static_cast<std::int32_t>(steps);
  plan.stepCount = lastStep + 1;
  plan.TT = static_cast<float>(lastStep) * plan.DT;
  plan.storedStepCount = lastStep + 1;
  while (static_cast<float>(plan.storedStepCount) * plan.DT <= plan.TT) ++plan.storedStepCount;

  if (options.language == "E" || options.language == "e") {
    plan.romanian = false;
  } else if (options.language == "R" || options.language == "r") {
    plan.romanian = true;
  } else {
    throw UsageError("--language must be E or R, not '" + options.language + "'");
  }

  const std::int32_t columnCount =
      options.baseNodeCount.value_or((options.nodeCount + kNodesPerColumn - 1) / kNodesPerColumn);
  if (columnCount < 1 || columnCount > options.nodeCount)
    throw UsageError("--base-nodes must lie between 1 and the number of nodes (" +
                     std::to_string(options.nodeCount) + ")");
  // Nodes shared out as evenly as possible, the first columns taking one more.
  std::int32_t node = 1;
  for (std::int32_t c = 0; c < columnCount; ++c) {
    const std::int32_t size =
        options.nodeCount / columnCount + (c < options.nodeCount % columnCount ? 1 : 0);
    plan.columns.push_back({node, size - 1});
    node += size;
  }
  return plan;
}

}  // namespace qtv
