#include "shear_column.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "ground_motion.h"
#include "sample_case.h"

namespace qtv {
namespace {

constexpr double kPi = std::numbers::pi;

TEST(ShearColumnTest, ModeFrequenciesMatchTheClosedFormOfSmallColumns) {
  const double m = 3.0, k = 12.0;
  EXPECT_NEAR(ShearColumn::modeCircularFrequency(1, m, k, 1), std::sqrt(k / m), 1e-12);
  // Two storeys: omega^2 = (3 -/+ sqrt 5) / 2 * k / m.
  EXPECT_NEAR(ShearColumn::modeCircularFrequency(2, m, k, 1),
              std::sqrt((3 - std::sqrt(5.0)) / 2 * k / m), 1e-12);
  EXPECT_NEAR(ShearColumn::modeCircularFrequency(2, m, k, 2),
              std::sqrt((3 + std::sqrt(5.0)) / 2 * k / m), 1e-12);
}

TEST(ShearColumnTest, StoreyStiffnessGivesAFundamentalPeriodOfATenthSecondPerStorey) {
  for (int storeys : {1, 4, 30}) {
    const double m = 2e5;
    const double w =
        ShearColumn::modeCircularFrequency(storeys, m, storeyStiffness(0, storeys, 0, m), 1);
    EXPECT_NEAR(2 * kPi / w, 0.1 * storeys, 1e-9) << storeys;
  }
}

// A single storey under a steady sine of the ground settles to the amplitude of the damped
// oscillator: A / sqrt((w^2 - W^2)^2 + (2 zeta w W)^2).
TEST(ShearColumnTest, SingleStoreySettlesToTheSteadyStateAmplitude) {
  const double m = 1.0, w = 2 * kPi, k = w * w, zeta = 0.05, dt = 0.002, a = 3.0;
  for (double ratio : {0.5, 1.0, 2.0}) {
    const double W = ratio * w;
    ShearColumn column(1, m, k, zeta, dt, 0.0);
    double peak = 0;
    const int steps = 30000;  // 60 s: the start-up transient has died out for the last 10 s
    for (int s = 1; s <= steps; ++s) {
      column.advance(a * std::sin(W * s * dt));
      if (s > steps - 5000) peak = std::max(peak, std::abs(column.displacement(1)));
    }
    const double expected = a / std::hypot(w * w - W * W, 2 * zeta * w * W);
    EXPECT_NEAR(peak, expected, 0.005 * expected) << "frequency ratio " << ratio;
  }
}

// Every step, the first included, satisfies M (a + ag) + C v + K u = 0, with K built here from
// the storey springs and C = alpha M + beta K giving the damping ratio in the first two modes.
TEST(ShearColumnTest, EveryStepSatisfiesTheEquationOfMotion) {
  const int h = 3;
  const double m = 2e5, k = storeyStiffness(0, h, 0, m), zeta = 0.05, dt = 0.01;
  const double w1 = ShearColumn::modeCircularFrequency(h, m, k, 1);
  const double w2 = ShearColumn::modeCircularFrequency(h, m, k, 2);
  const double alpha = 2 * zeta * w1 * w2 / (w1 + w2), beta = 2 * zeta / (w1 + w2);
  auto stiffnessTimes = [&](const std::vector<double>& x, int i) {
    const double below = i == 0 ? 0 : x[i - 1];
    const double above = i + 1 < h ? x[i + 1] : x[i];
    return k * ((x[i] - below) - (above - x[i]));
  };
  // The earthquake, and a sudden constant ground acceleration present from the start.
  using Ground = double (*)(double);
  for (Ground ground : {Ground{[](double t) { return groundAcceleration(0, t, 5.0); }},
                        Ground{[](double) { return 2.0; }}}) {
    ShearColumn column(h, m, k, zeta, dt, ground(0));
    double largestLoad = 0, largestResidual = 0, largestDisplacement = 0;
    for (int s = 0; s <= 500; ++s) {
      const double ag = ground(s * dt);
      if (s > 0) column.advance(ag);
      std::vector<double> u(h), v(h);
      for (int i = 0; i < h; ++i) u[i] = column.displacement(i + 1), v[i] = column.velocity(i + 1);
      for (int i = 0; i < h; ++i) {
        const double residual = m * (column.acceleration(i + 1) + ag) + alpha * m * v[i] +
                                beta * stiffnessTimes(v, i) + stiffnessTimes(u, i);
        largestResidual = std::max(largestResidual, std::abs(residual));
        largestDisplacement = std::max(largestDisplacement, std::abs(u[i]));
      }
      largestLoad = std::max(largestLoad, std::abs(m * ag));
    }
    EXPECT_GT(largestDisplacement, 1e-3);  // the column really moved
    EXPECT_LT(largestResidual, 1e-9 * largestLoad);
  }
}

}  // namespace
}  // namespace qtv
