#pragma once
// The user's choices for one run, filled by the dialog's control handler and corrected by the
// validation.
#include <array>
#include <cstdint>
#include <vector>

namespace qtv {

struct RunParameters {
  std::int32_t selectedCount = 0;
  float tStart = 0;
  float tEnd = 0;
  std::int32_t stepFrequency = 0;
  bool wantDisplacement = false;
  bool wantVelocity = false;
  bool wantPhasePlane = false;
  bool wantAcceleration = false;
  std::array<bool, 3> wantDirection{};  // [0] = X, [1] = Y, [2] = Z
  // The chosen node numbers in ascending order in slots 0 .. selectedCount-1; one slot per node
  // of the model.
  std::vector<std::int32_t> selectedNodes;
};

}  // namespace qtv
