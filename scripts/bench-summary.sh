#!/usr/bin/env bash
# Builds the benchmarks in Release (build-bench/), runs them, and prints the summary table with
# its ratios and targets. Extra arguments go to eval_bench (e.g. --benchmark_filter=census).
set -euo pipefail

# qt6-base-dev only to configure: eval_bench uses the game's rules, which sit beside the window.
packages=(cmake ninja-build g++ pkg-config libicu-dev qt6-base-dev libbenchmark-dev libmuparser-dev)
missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if ((${#missing[@]})); then
    echo "==> Installing missing Debian packages: ${missing[*]}"
    sudo=()
    if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-bench"
echo "==> Building eval_bench in $build (Release)"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPELMORA_BUILD_BENCH=ON \
    -DPELMORA_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target eval_bench
echo "==> Running (about a minute)"
"$build/bench/eval_bench" --summary "$@"
