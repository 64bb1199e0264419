#!/usr/bin/env bash
# Builds everything and runs every test.
set -euo pipefail
source "$(dirname "$0")/scripts/setup.sh"
echo "==> Building"
cmake --build "$build"
echo "==> Running the tests"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure --timeout 300
