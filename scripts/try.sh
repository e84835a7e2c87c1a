#!/usr/bin/env bash
# Sets up the machine, builds and installs QTV into bin/, makes a sample work directory in
# work/ beside it, and starts QTV from bin/: in a window when there is a display, as a form in
# the terminal otherwise. Without either it extracts a few nodes of the sample instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQTV_BENCH=OFF
cmake --build build/release -j "$(nproc)" --target qtv qtv-makecase
cmake --install build/release --prefix . > /dev/null
[ -f work/u2.unf ] || bin/qtv-makecase --nodes 12 --dof 3 --dt 0.01 --duration 10 --out work
bin/qtv info work
cd bin
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] || { [ -t 0 ] && [ -t 1 ]; }; then
  exec ./qtv
fi
./qtv extract ../work --nodes 2-4 --quantities d,v,a,p --directions x,y,z
echo "History files written to $(cd ../work && pwd)"
