#!/usr/bin/env bash
# Builds examples/embed against an installed Pelmora twice, through find_package and through
# pkg-config, and runs both.
#   embed_test.sh PREFIX      (PREFIX/include/pelmora, PREFIX/lib/libpelmora.so, ...)
set -euo pipefail
prefix=$(cd "$1" && pwd)
example="$(cd "$(dirname "$0")/../../examples/embed" && pwd)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

expected='libpelmora 1.0.0 (built against 1.0.0)
TAX(1000) = 1100
RATE*100 = 10
TAX("x") =  [code 2]
PRICE(3) =  [code 2] [undeclared PRICE]'
export LD_LIBRARY_PATH="$prefix/lib${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
# A library built with the sanitizers (.ci/run's second build) needs them in the program too.
sanitize=
if nm -D --undefined-only "$prefix/lib/libpelmora.so.2" | grep ' __asan_' >/dev/null; then
    sanitize="-fsanitize=address,undefined"
fi

cmake -S "$example" -B "$work/cmake" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_CXX_FLAGS="$sanitize" -DCMAKE_EXE_LINKER_FLAGS="$sanitize" >/dev/null ||
    fail "find_package(Pelmora 1.0 CONFIG)"
cmake --build "$work/cmake" >/dev/null || fail "the example through find_package"
[ "$("$work/cmake/embed")" = "$expected" ] || fail "find_package build: $("$work/cmake/embed")"

# A copy, so that nothing is built in the source tree.
cp "$example/Makefile" "$example/embed.cpp" "$work/"
PKG_CONFIG_PATH="$prefix/lib/pkgconfig" make -s -C "$work" CXXFLAGS="-O2 $sanitize" \
    LDFLAGS="$sanitize" embed || fail "the example through pkg-config"
[ "$("$work/embed")" = "$expected" ] || fail "pkg-config build: $("$work/embed")"
echo "embed: built through find_package and pkg-config against $prefix, both run"
