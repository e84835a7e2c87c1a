#include "history/node_history.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "driver/console_messages.h"
#include "history/history_files.h"
#include "history/number_text.h"
#include "input/work_directory.h"

namespace qtv {

namespace {

constexpr std::size_t kQuantityCount = 4;
constexpr std::size_t kMaxDirections = 3;

// One open file and where its two numbers come from at each step.
struct Output {
  HistoryFile* file;
  const float* first;
  const float* second;
};

// trunc(tStart / DT) as a step index. A quotient beyond every file (or not a number, from a DT
// that the processor treats as zero) is clamped, so the conversion stays defined and the first
// read reports the missing record.
std::int64_t firstStepIndex(float quotient) {
  constexpr float kLimit = 0x1p62f;
  if (!(std::fabs(quotient) < kLimit)) {
    return quotient < 0 ? -static_cast<std::int64_t>(kLimit) : static_cast<std::int64_t>(kLimit);
  }
  return static_cast<std::int64_t>(quotient);
}

}  // namespace

void extractNodeHistory(ExtractionContext& context, std::int32_t node) {
  const AnalysisDescription& description = context.description;
  const RunParameters& parameters = context.parameters;
  const std::int32_t dofPerNode =
      std::clamp(description.dofPerNode, 0, static_cast<std::int32_t>(kMaxDirections));

  const std::string nodeText = integerText(node);
  context.console.writeLine(nodeLine(context.romanian, nodeText));

  // Values of the current step: u01.unf gives displacements then velocities.
  std::array<float, 2 * kMaxDirections> displacementsAndVelocities{};
  std::array<float, kMaxDirections> accelerations{};
  const float* displacement = displacementsAndVelocities.data();
  const float* velocity = displacement + dofPerNode;
  float stepTime = 0;

  const std::array<bool, kQuantityCount> wanted{parameters.wantDisplacement,
                                                parameters.wantVelocity, parameters.wantPhasePlane,
                                                parameters.wantAcceleration};
  // The second number of a line, by quantity; the first is the step's time, except in the
  // phase plane, where it is the displacement.
  const std::array<const float*, kQuantityCount> secondValues{displacement, velocity, velocity,
                                                              accelerations.data()};
  // [quantity][direction - 1]; opening order is also the order of the lines of a step.
  std::array<std::array<std::optional<HistoryFile>, kMaxDirections>, kQuantityCount> files;
  std::array<Output, kQuantityCount * kMaxDirections> outputs{};
  std::size_t outputCount = 0;
  for (std::size_t q = 0; q < kQuantityCount; ++q) {
    if (!wanted[q]) continue;
    const auto quantity = static_cast<Quantity>(q);
    const bool phasePlane = quantity == Quantity::PhasePlane;
    for (std::size_t i = 0; i < static_cast<std::size_t>(dofPerNode); ++i) {
      if (!parameters.wantDirection[i]) continue;
      const int direction = static_cast<int>(i) + 1;
      HistoryFile& file = files[q][i].emplace(
          workDirectoryFile(context.workDirectory, historyFileName(nodeText, direction, quantity)));
      outputs[outputCount++] = {&file, phasePlane ? displacement + i : &stepTime,
                                secondValues[q] + i};
      context.console.writeLine(phasePlane ? "    " + file.path()
                                           : std::string(" ") + "xyz"[i] + ": " + file.path());
    }
  }
  context.console.writeLine(workingForNodeLine(context.romanian, node));

  const bool readsDisplacementsAndVelocities =
      parameters.wantDisplacement || parameters.wantVelocity || parameters.wantPhasePlane;
  const bool readsAccelerations = parameters.wantAcceleration;
  // Without a read the walk has no effect, so it is not made.
  if (readsDisplacementsAndVelocities || readsAccelerations) {
    const float DT = description.DT;
    // All time arithmetic in single precision; a step's time is computed from its index, never
    // accumulated, so the times carry no growing error.
    for (std::int64_t stepIndex = firstStepIndex(parameters.tStart / DT);;
         stepIndex += parameters.stepFrequency) {
      stepTime = static_cast<float>(stepIndex) * DT;
      if (stepTime > parameters.tEnd) break;
      if (readsDisplacementsAndVelocities) {
        context.results.displacementsAndVelocities.readRecord(
            stepIndex, node, description.nodeCount, displacementsAndVelocities.data(),
            2 * dofPerNode);
      }
      if (readsAccelerations) {
        context.results.accelerations.readRecord(stepIndex, node, description.nodeCount,
                                                 accelerations.data(), dofPerNode);
      }
      for (std::size_t k = 0; k < outputCount; ++k) {
        outputs[k].file->writeLine(*outputs[k].first, *outputs[k].second);
      }
    }
  }

  // Direction by direction, each in the order of the quantities. The old files are replaced
  // only once every new one is complete, so a failure leaves the node's files as they were.
  for (std::size_t i = 0; i < kMaxDirections; ++i) {
    for (auto& quantityFiles : files) {
      if (auto& file = quantityFiles[i]) file->close();
    }
  }
  for (std::size_t i = 0; i < kMaxDirections; ++i) {
    for (auto& quantityFiles : files) {
      if (auto& file = quantityFiles[i]) file->putInPlace();
    }
  }
}

}  // namespace qtv
