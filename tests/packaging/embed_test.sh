#!/usr/bin/env bash
# Builds examples/embed (embed and plot) against an installed Pelmora twice, through
# find_package and through pkg-config, and runs them.
#   embed_test.sh PREFIX      (PREFIX/include/pelmora, PREFIX/lib/<multiarch>/libpelmora.so, ...)
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
  a value of kind String is not a number
    TAX("x")
    ^
PRICE(3): not evaluated
  unknown function PRICE [unknown-name]
    PRICE(3)
    ^
1/0 =  [code 2]
  division by zero
    1/0
    ^
2*(RATE+1: not evaluated
  missing closing parenthesis [unbalanced-parenthesis]
    2*(RATE+1
      ^
1e-3*5: not evaluated
  unknown name 1E [unknown-name]
    1e-3*5
    ^'
plotted='0	0
5	24.4183830270741
10	99.7998658177406'
# The library's folder, wherever the build put it (lib/x86_64-linux-gnu, or lib).
pc=$(find "$prefix" -path '*/pkgconfig/pelmora.pc' | head -1)
[ -n "$pc" ] || fail "no pelmora.pc under $prefix"
libdir=$(dirname "$(dirname "$pc")")
export LD_LIBRARY_PATH="$libdir${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
# A library built with the sanitizers (.ci/run's second build) needs them in the program too.
sanitize=
if nm -D --undefined-only "$libdir/libpelmora.so.2" | grep ' __asan_' >/dev/null; then
    sanitize="-fsanitize=address,undefined"
fi

cmake -S "$example" -B "$work/cmake" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_CXX_FLAGS="$sanitize" -DCMAKE_EXE_LINKER_FLAGS="$sanitize" >/dev/null ||
    fail "find_package(Pelmora 1.0 CONFIG)"
cmake --build "$work/cmake" >/dev/null || fail "the example through find_package"
[ "$("$work/cmake/embed")" = "$expected" ] || fail "find_package build: $("$work/cmake/embed")"
[ "$("$work/cmake/plot" 'SIN(X)*EXP(-X/10)+X^2' 0 10 2)" = "$plotted" ] ||
    fail "find_package build of the plot: $("$work/cmake/plot" 'SIN(X)*EXP(-X/10)+X^2' 0 10 2)"

# A copy, so that nothing is built in the source tree.
cp "$example/Makefile" "$example/embed.cpp" "$example/plot.cpp" "$work/"
PKG_CONFIG_PATH="$libdir/pkgconfig" make -s -C "$work" CXXFLAGS="-O2 $sanitize" \
    LDFLAGS="$sanitize" embed plot || fail "the example through pkg-config"
[ "$("$work/embed")" = "$expected" ] || fail "pkg-config build: $("$work/embed")"
[ "$("$work/plot" 'SIN(X)*EXP(-X/10)+X^2' 0 10 2)" = "$plotted" ] || fail "pkg-config build of the plot"
echo "embed: built through find_package and pkg-config against $prefix, both run"
