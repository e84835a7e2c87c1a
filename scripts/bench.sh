#!/usr/bin/env bash
# Builds QTV optimised and runs the benchmarks: the history-field micro benchmark and the
# whole-run benchmark (it generates a 1.4 GB case in build/bench-case the first time).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQTV_GUI=OFF -DQTV_BENCH=ON
cmake --build build/bench -j "$(nproc)" --target qtv qtv-makecase number_text_bench whole_run_bench
build/bench/bench/number_text_bench
build/bench/bench/whole_run_bench build/bench/src/qtv build/bench/tools/makecase/qtv-makecase build/bench-case
