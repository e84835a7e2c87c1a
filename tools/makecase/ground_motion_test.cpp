#include "ground_motion.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qtv {
namespace {

// Starts at rest, peaks like a strong earthquake horizontally (0.2 to 0.4 g), weaker
// vertically, and has died down to a few per cent at the end of the record.
TEST(GroundMotionTest, RisesPeaksAndDecaysOverTheRecord) {
  const double duration = 20, dt = 0.005;
  double peak[3] = {}, tail[3] = {};
  for (int d = 0; d < 3; ++d) {
    EXPECT_EQ(groundAcceleration(d, 0.0, duration), 0.0);
    EXPECT_EQ(groundAcceleration(d, 1.0, 0.0), 0.0);
    for (int s = 0; s * dt <= duration; ++s) {
      const double a = std::abs(groundAcceleration(d, s * dt, duration));
      peak[d] = std::max(peak[d], a);
      if (s * dt > 0.95 * duration) tail[d] = std::max(tail[d], a);
    }
    EXPECT_LT(tail[d], 0.1 * peak[d]) << d;
  }
  for (int d = 0; d < 2; ++d) {
    EXPECT_GT(peak[d], 0.2 * 9.81) << d;
    EXPECT_LT(peak[d], 0.4 * 9.81) << d;
  }
  EXPECT_LT(peak[2], 0.5 * peak[0]);
}

}  // namespace
}  // namespace qtv
