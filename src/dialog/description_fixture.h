#pragma once
// A small analysis description for the dialog tests: DT 0.01, TT 10, 1001 steps, English.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "input/analysis_description.h"
#include "platform/fixed_text.h"

namespace qtv {

// restrainedNodes have every degree of freedom fixed; the other nodes are free.
inline AnalysisDescription describe(std::int32_t nodeCount = 3, std::int32_t dofPerNode = 3,
                                    const std::vector<std::int32_t>& restrainedNodes = {}) {
  AnalysisDescription description;
  description.nodeCount = nodeCount;
  description.dofPerNode = dofPerNode;
  description.restraintLineCount = static_cast<std::int32_t>(restrainedNodes.size());
  const auto rowLength = static_cast<std::size_t>(std::max(dofPerNode, 0));
  description.restraintCode.assign(static_cast<std::size_t>(std::max(nodeCount, 0)) * rowLength, 0);
  for (const std::int32_t node : restrainedNodes) {
    std::fill_n(description.restraintCode.begin() + static_cast<std::ptrdiff_t>((node - 1) * rowLength),
                rowLength, 1);
  }
  description.DT = 0.01f;
  description.TT = 10;
  description.stepCount = 1001;
  description.languageText = fixedField("english", kShortTextLength);
  return description;
}

}  // namespace qtv
