#pragma once
// Writes a complete work directory: comdin.dat, u01.unf and u2.unf.
//
// The model is a row of shear-building columns (CasePlan::columns). Each column moves in x, y
// and z independently under the ground motion of groundAcceleration; its base node is fixed to
// the ground. Per node and step, with n = dofPerNode and motion relative to the ground:
//   u01.unf record (32 n bytes): words 1..n displacement, n+1..2n velocity,
//                                2n+1..3n absolute acceleration, 3n+1..8n zero;
//   u2.unf record (16 n bytes):  words 1..n acceleration, n+1..2n absolute acceleration,
//                                2n+1..4n zero.
// Words are little-endian 32-bit floats; the record of node k at step s is s*nodeCount + k.
// Steps are computed and written one at a time, so memory does not grow with the duration.
#include <cstdint>
#include <filesystem>

#include "case_plan.h"

namespace qtv {

// Storey spring (N/m) of the column with index `column` (0-based) and `storeyCount` storeys in
// `direction` (0 x, 1 y, 2 z): stiff enough for a fundamental period of about 0.1 s per storey
// horizontally, varying a little from column to column, and much stiffer vertically.
double storeyStiffness(int column, int storeyCount, int direction, double storeyMass);

struct CaseSizes {
  std::uint64_t comdinBytes = 0;
  std::uint64_t u01Bytes = 0;
  std::uint64_t u2Bytes = 0;
};

// Writes the case into `directory`, creating it if missing. Throws FatalError naming the file or
// folder that cannot be written.
CaseSizes writeSampleCase(const CasePlan& plan, const std::filesystem::path& directory);

}  // namespace qtv
