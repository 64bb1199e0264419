#!/usr/bin/env bash
# Builds the game and starts it.
set -euo pipefail
source "$(dirname "$0")/scripts/setup.sh"
echo "==> Building pelmora"
cmake --build "$build" --target pelmora
echo "==> Starting pelmora"
exec "$build/game/pelmora" "$@"
