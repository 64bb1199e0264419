#!/usr/bin/env bash
# Compares the built libpelmora with the baseline abi/libpelmora.abi. An incompatible change
# (anything removed, or a changed function or type) fails unless the SONAME's major number has
# gone up; an addition passes with a reminder to regenerate the baseline.
#   scripts/abi-check.sh [BUILD_DIR]         (default build/, after it has been built)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
source "$root/scripts/abi-common.sh"
baseline="$root/abi/libpelmora.abi"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

abi_dump "$build" "$work/current.abi"
soname() { sed -n "s/.*<abi-corpus [^>]*soname='\([^']*\)'.*/\1/p" "$1" | head -1; }
old=$(soname "$baseline")
new=$(soname "$work/current.abi")

status=0
abidiff --no-show-locs "$baseline" "$work/current.abi" >"$work/report" || status=$?
# abidiff's status is a bit set: 1 error, 2 usage, 4 a change, 8 an incompatible change.
if ((status & 3)); then
    cat "$work/report"
    echo "abidiff failed (status $status)" >&2
    exit 1
fi
# abidiff calls only removals incompatible, and a changed layout a mere change; here anything
# but an addition counts as incompatible.
incompatible=$((status & 8))
if grep 'summary:' "$work/report" | grep -qE '(^|[ :])[1-9][0-9]* (Removed|Changed)'; then
    incompatible=1
fi
if ((incompatible)); then
    cat "$work/report"
    if ((${new##*.} <= ${old##*.})); then
        echo "FAIL: incompatible ABI change without a higher SONAME ($old -> $new);" \
             "raise the major version, or keep the interface compatible" >&2
        exit 1
    fi
    echo "incompatible ABI change with a new SONAME ($old -> $new): run scripts/abi-baseline.sh"
elif ((status & 4)); then
    cat "$work/report"
    echo "compatible ABI change (an addition): run scripts/abi-baseline.sh to take it in"
else
    echo "ABI unchanged against abi/libpelmora.abi ($new)"
fi
