#pragma once
// A deterministic earthquake-like ground acceleration: a few sines per direction under an
// envelope that rises, holds and decays over the length of the record.

namespace qtv {

// Ground acceleration (m/s^2) in direction 0 (x), 1 (y) or 2 (z, vertical, weaker) at time t of
// a record `duration` seconds long. Zero at t = 0 and for a record of no length.
double groundAcceleration(int direction, double t, double duration);

}  // namespace qtv
