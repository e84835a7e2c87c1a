#include "ground_motion.h"

#include <cmath>
#include <numbers>
#include <span>

namespace qtv {
namespace {

struct Wave {
  double amplitude;  // m/s^2
  double frequency;  // Hz
  double phase;      // rad
};

// Horizontal components carry most of the energy between 1 and 5 Hz; the vertical one is
// weaker and of higher frequency, as in recorded ground motion.
constexpr Wave kWavesX[] = {{1.35, 0.9, 0.3}, {0.9, 1.7, 1.1}, {0.45, 3.1, 2.0}, {0.3, 5.3, 0.7}};
constexpr Wave kWavesY[] = {{0.95, 1.1, 0.5}, {0.85, 2.3, 1.9}, {0.6, 4.2, 2.8}};
constexpr Wave kWavesZ[] = {{0.55, 6.5, 0.2}, {0.35, 11.0, 1.3}};

// Rises quadratically over the first 15 %, holds until half the record, then decays to 5 %.
double envelope(double t, double duration) {
  const double rise = 0.15 * duration;
  const double hold = 0.5 * duration;
  if (t < rise) return (t / rise) * (t / rise);
  if (t <= hold) return 1.0;
  return std::exp(-3.0 * (t - hold) / (duration - hold));
}

}  // namespace

double groundAcceleration(int direction, double t, double duration) {
  if (duration <= 0) return 0.0;
  const std::span<const Wave> waves = direction == 0   ? std::span<const Wave>(kWavesX)
                                      : direction == 1 ? std::span<const Wave>(kWavesY)
                                                       : std::span<const Wave>(kWavesZ);
  double sum = 0;
  for (const Wave& w : waves)
    sum += w.amplitude * std::sin(2 * std::numbers::pi * w.frequency * t + w.phase);
  return envelope(t, duration) * sum;
}

}  // namespace qtv
