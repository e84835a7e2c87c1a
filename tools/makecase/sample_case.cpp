#include "sample_case.h"

#include <cmath>
#include <numbers>
#include <system_error>
#include <vector>

#include "comdin_text.h"
#include "ground_motion.h"
#include "output_file.h"
#include "platform/program_end.h"
#include "shear_column.h"

namespace qtv {

double storeyStiffness(int column, int storeyCount, int direction, double storeyMass) {
  constexpr double kDirectionPeriodFactor[] = {1.0, 0.85, 0.15};
  const double period =
      0.1 * storeyCount * (1.0 + 0.08 * (column % 4)) * kDirectionPeriodFactor[direction];
  const double omega = 2 * std::numbers::pi / period;
  // Inverse of the first mode frequency of a uniform column (ShearColumn).
  const double s = std::sin(std::numbers::pi / (2.0 * (2 * storeyCount + 1)));
  return storeyMass * omega * omega / (4 * s * s);
}

namespace {

// Writes the record of every node of one step: base nodes stand still with the ground.
void writeStep(const CasePlan& plan, const std::vector<ShearColumn>& motion,
               const double* groundAcceleration, OutputFile& u01, OutputFile& u2) {
  const int n = plan.dofPerNode;
  std::size_t first = 0;  // index of the column's x motion in `motion`
  for (const Column& column : plan.columns) {
    for (int storey = 0; storey <= column.storeyCount; ++storey) {
      double u[3] = {}, v[3] = {}, a[3] = {};
      for (int d = 0; storey > 0 && d < n; ++d) {
        const ShearColumn& m = motion[first + static_cast<std::size_t>(d)];
        u[d] = m.displacement(storey);
        v[d] = m.velocity(storey);
        a[d] = m.acceleration(storey);
      }
      for (int d = 0; d < n; ++d) u01.writeFloat(static_cast<float>(u[d]));
      for (int d = 0; d < n; ++d) u01.writeFloat(static_cast<float>(v[d]));
      for (int d = 0; d < n; ++d) u01.writeFloat(static_cast<float>(a[d] + groundAcceleration[d]));
      for (int w = 3 * n; w < 8 * n; ++w) u01.writeFloat(0.0f);
      for (int d = 0; d < n; ++d) u2.writeFloat(static_cast<float>(a[d]));
      for (int d = 0; d < n; ++d) u2.writeFloat(static_cast<float>(a[d] + groundAcceleration[d]));
      for (int w = 2 * n; w < 4 * n; ++w) u2.writeFloat(0.0f);
    }
    if (column.storeyCount > 0) first += static_cast<std::size_t>(n);
  }
}

}  // namespace

CaseSizes writeSampleCase(const CasePlan& plan, const std::filesystem::path& directory) {
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  if (error) throw FatalError(directory.string() + ": cannot create folder: " + error.message());

  CaseSizes sizes;
  {
    OutputFile comdin((directory / "comdin.dat").string());
    comdin.write(comdinText(plan));
    comdin.close();
    sizes.comdinBytes = comdin.size();
  }

  const int n = plan.dofPerNode;
  const double dt = plan.DT;
  const double duration = plan.TT;
  double ground[3] = {};
  for (int d = 0; d < n; ++d) ground[d] = groundAcceleration(d, 0.0, duration);

  // Columns with storeys, each with its motion in directions 1..n, in node order.
  std::vector<ShearColumn> motion;
  for (std::size_t c = 0; c < plan.columns.size(); ++c) {
    const int storeys = plan.columns[c].storeyCount;
    if (storeys == 0) continue;
    for (int d = 0; d < n; ++d) {
      motion.emplace_back(storeys, plan.storeyMass,
                          storeyStiffness(static_cast<int>(c), storeys, d, plan.storeyMass),
                          plan.dampingRatio, dt, ground[d]);
    }
  }

  OutputFile u01((directory / "u01.unf").string());
  OutputFile u2((directory / "u2.unf").string());
  writeStep(plan, motion, ground, u01, u2);
  for (std::int64_t s = 1; s < plan.storedStepCount; ++s) {
    const double t = static_cast<double>(s) * dt;
    for (int d = 0; d < n; ++d) ground[d] = groundAcceleration(d, t, duration);
    for (std::size_t i = 0; i < motion.size(); ++i)
      motion[i].advance(ground[i % static_cast<std::size_t>(n)]);
    writeStep(plan, motion, ground, u01, u2);
  }
  u01.close();
  u2.close();
  sizes.u01Bytes = u01.size();
  sizes.u2Bytes = u2.size();
  return sizes;
}

}  // namespace qtv
