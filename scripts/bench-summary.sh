#!/usr/bin/env bash
# Builds the benchmarks in Release (build-bench/), runs them, and prints the summary table with
# its ratios and targets. Extra arguments go to eval_bench (e.g. --benchmark_filter=census).
set -euo pipefail
extra_packages=(libbenchmark-dev libmuparser-dev libmuparserx-dev)
source "$(dirname "$0")/setup.sh"

build="$root/build-bench"
echo "==> Building eval_bench in $build (Release)"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPELMORA_BUILD_BENCH=ON \
    -DPELMORA_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target eval_bench
echo "==> Running (about a minute)"
"$build/bench/eval_bench" --summary "$@"
