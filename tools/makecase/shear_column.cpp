#include "shear_column.h"

#include <cmath>
#include <numbers>

namespace qtv {

double ShearColumn::modeCircularFrequency(int storeyCount, double mass, double stiffness,
                                          int mode) {
  // Eigenvalues of the uniform fixed-free chain: 4 k/m sin^2((2j-1) pi / (2 (2h+1))).
  const double angle = (2 * mode - 1) * std::numbers::pi / (2.0 * (2 * storeyCount + 1));
  return 2.0 * std::sqrt(stiffness / mass) * std::sin(angle);
}

ShearColumn::ShearColumn(int storeyCount, double mass, double stiffness, double dampingRatio,
                         double dt, double initialGroundAcceleration)
    : mass_(mass), stiffness_(stiffness), dt_(dt) {
  const auto n = static_cast<std::size_t>(storeyCount);
  const double w1 = modeCircularFrequency(storeyCount, mass, stiffness, 1);
  const double w2 = storeyCount > 1 ? modeCircularFrequency(storeyCount, mass, stiffness, 2) : w1;
  massDamping_ = 2 * dampingRatio * w1 * w2 / (w1 + w2);
  stiffnessDamping_ = 2 * dampingRatio / (w1 + w2);

  // Effective stiffness K + 2/dt C + 4/dt^2 M, tridiagonal with constant off-diagonal.
  const double kFactor = 1 + 2 / dt * stiffnessDamping_;
  const double mFactor = 4 / (dt * dt) + 2 / dt * massDamping_;
  const double offDiagonal = -stiffness * kFactor;
  pivot_.resize(n);
  multiplier_.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    const double diagonal = (i + 1 < n ? 2 : 1) * stiffness * kFactor + mass * mFactor;
    multiplier_[i] = i == 0 ? 0 : offDiagonal / pivot_[i - 1];
    pivot_[i] = diagonal - (i == 0 ? 0 : multiplier_[i] * offDiagonal);
  }
  u_.assign(n, 0.0);
  v_.assign(n, 0.0);
  a_.assign(n, -initialGroundAcceleration);  // at rest, only the inertia balances the load
  rhs_.resize(n);
  work_.resize(n);
}

void ShearColumn::applyStiffness(const std::vector<double>& x, std::vector<double>& out) const {
  const std::size_t n = x.size();
  for (std::size_t i = 0; i < n; ++i) {
    const double below = i == 0 ? 0 : x[i - 1];
    const double spring = x[i] - below;
    const double above = i + 1 < n ? x[i] - x[i + 1] : 0;
    out[i] = stiffness_ * (spring + above);
  }
}

void ShearColumn::advance(double groundAcceleration) {
  const std::size_t n = u_.size();
  const double dt = dt_;
  // Right-hand side: p + M (4/dt^2 u + 4/dt v + a) + C (2/dt u + v).
  for (std::size_t i = 0; i < n; ++i) work_[i] = 2 / dt * u_[i] + v_[i];
  applyStiffness(work_, rhs_);
  for (std::size_t i = 0; i < n; ++i) {
    rhs_[i] = -mass_ * groundAcceleration +
              mass_ * (4 / (dt * dt) * u_[i] + 4 / dt * v_[i] + a_[i]) +
              massDamping_ * mass_ * work_[i] + stiffnessDamping_ * rhs_[i];
  }
  // Solve for the new displacements: forward elimination, back substitution.
  for (std::size_t i = 1; i < n; ++i) rhs_[i] -= multiplier_[i] * rhs_[i - 1];
  const double offDiagonal = -stiffness_ * (1 + 2 / dt * stiffnessDamping_);
  for (std::size_t i = n; i-- > 0;) {
    const double next = i + 1 < n ? work_[i + 1] : 0;
    work_[i] = (rhs_[i] - offDiagonal * next) / pivot_[i];
  }
  for (std::size_t i = 0; i < n; ++i) {
    const double aNew = 4 / (dt * dt) * (work_[i] - u_[i]) - 4 / dt * v_[i] - a_[i];
    v_[i] += dt / 2 * (a_[i] + aNew);
    a_[i] = aNew;
    u_[i] = work_[i];
  }
}

}  // namespace qtv
