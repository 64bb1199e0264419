#!/usr/bin/env bash
# Writes abi/libpelmora.abi, the baseline of libpelmora's exported interface that
# scripts/abi-check.sh compares builds with. Rerun it, and commit the result, after a change
# to the interface that the check reports: an addition, or a break that came with a new SONAME.
#   scripts/abi-baseline.sh [BUILD_DIR]      (default build/, after it has been built)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
source "$root/scripts/abi-common.sh"
abi_dump "$build" "$root/abi/libpelmora.abi"
echo "wrote abi/libpelmora.abi ($(grep -c '<elf-symbol ' "$root/abi/libpelmora.abi") symbols)"
