#pragma once
// One column of a shear building moving in one direction: equal storey masses joined to each
// other and to the fixed base by equal storey springs, Rayleigh damping, integrated step by step
// with Newmark's average-acceleration method. Motion is relative to the ground.
#include <vector>

namespace qtv {

class ShearColumn {
 public:
  // storeyCount >= 1 masses `mass`, springs `stiffness`, damping ratio `dampingRatio` in the first
  // two modes (the first only when there is one storey), time step `dt`. The column starts at
  // rest under the ground acceleration `initialGroundAcceleration`.
  ShearColumn(int storeyCount, double mass, double stiffness, double dampingRatio, double dt,
              double initialGroundAcceleration);

  // Circular frequency of mode `mode` (1-based) of such a column.
  static double modeCircularFrequency(int storeyCount, double mass, double stiffness, int mode);

  // Moves one time step on; `groundAcceleration` is the ground's acceleration at the new time.
  void advance(double groundAcceleration);

  int storeyCount() const { return static_cast<int>(u_.size()); }
  // Relative motion of storey 1..storeyCount.
  double displacement(int storey) const { return u_[static_cast<std::size_t>(storey - 1)]; }
  double velocity(int storey) const { return v_[static_cast<std::size_t>(storey - 1)]; }
  double acceleration(int storey) const { return a_[static_cast<std::size_t>(storey - 1)]; }

 private:
  // out = K x for the storey stiffness matrix (tridiagonal, the top storey has one spring above
  // the base chain only).
  void applyStiffness(const std::vector<double>& x, std::vector<double>& out) const;

  double mass_, stiffness_, dt_;
  double massDamping_ = 0, stiffnessDamping_ = 0;  // C = massDamping_ M + stiffnessDamping_ K
  // Factors of the constant effective stiffness (Thomas algorithm): per row the pivot and the
  // multiplier of the row above.
  std::vector<double> pivot_, multiplier_;
  std::vector<double> u_, v_, a_;
  std::vector<double> rhs_, work_;  // scratch, kept to avoid an allocation per step
};

}  // namespace qtv
