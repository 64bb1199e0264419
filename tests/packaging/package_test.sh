#!/usr/bin/env bash
# Builds the Debian packages (the library's two alone when the build has no game), checks them
# with lintian, runs the programs extracted from them, and builds the embedding example against
# the extracted library.
#   package_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >/dev/null)
# A build without the game makes the library's packages alone.
game=$(sed -n 's/^PELMORA_BUILD_GAME:BOOL=//p' "$build/CMakeCache.txt")
packages=(libpelmora2 libpelmora-dev)
[ "$game" = OFF ] || packages+=(pelmora)
debs=()
for p in "${packages[@]}"; do
    debs+=("$work/out/${p}_1.0.0_amd64.deb")
    [ -f "${debs[-1]}" ] || fail "no ${debs[-1]}"
done
extra=$(cd "$work/out" && ls ./*.deb | sed 's|^\./||' | grep -vxF -f <(printf '%s\n' "${debs[@]##*/}")) &&
    fail "unexpected packages: $extra"

# Each package's dependencies, and the shlibs file that makes programs depend on libpelmora2.
depends() { dpkg-deb -f "$work/out/$1_1.0.0_amd64.deb" Depends; }
if [ "$game" != OFF ]; then
    for library in libqt6widgets6 libedit2 libc6 'libpelmora2 (= 1.0.0)' fonts-ipafont-gothic; do
        grep -qF "$library" <<<"$(depends pelmora)" || fail "pelmora lacks $library: $(depends pelmora)"
    done
fi
grep -qF 'libpelmora2 (= 1.0.0)' <<<"$(depends libpelmora-dev)" || fail "libpelmora-dev depends"
grep -q libicu <<<"$(depends libpelmora2)" || fail "libpelmora2 depends: $(depends libpelmora2)"
! grep -qi qt <<<"$(depends libpelmora2) $(depends libpelmora-dev)" || fail "the library needs Qt"
[ "$(dpkg-deb -I "${debs[0]}" shlibs)" = "libpelmora 2 libpelmora2 (>= 1.0.0)" ] ||
    fail "libpelmora2 shlibs: $(dpkg-deb -I "${debs[0]}" shlibs)"

# No error and no warning; lintian's pedantic remarks are shown.
status=0
report=$(lintian --pedantic --fail-on error,warning "${debs[@]}" 2>&1) || status=$?
grep -v 'running with root privileges' <<<"$report" || true
[ "$status" = 0 ] || fail "lintian reports an error or a warning"

for deb in "${debs[@]}"; do dpkg-deb -x "$deb" "$work/root"; done
for p in "${packages[@]}"; do
    for f in copyright changelog.gz; do
        [ -s "$work/root/usr/share/doc/$p/$f" ] || fail "usr/share/doc/$p/$f is missing"
    done
done
# The library and pelmora.pc in the multiarch folder; the developers' documentation.
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
for f in "lib/$multiarch/libpelmora.so.2" "lib/$multiarch/pkgconfig/pelmora.pc" \
    share/doc/libpelmora-dev/html/index.html share/doc/libpelmora-dev/language.md.gz \
    share/doc/libpelmora-dev/examples/embed/embed.cpp; do
    [ -e "$work/root/usr/$f" ] || fail "usr/$f is missing"
done
if [ "$game" != OFF ]; then
    [ "$("$work/root/usr/bin/pelmora-eval" '"a"+1')" = "String: a 1" ] || fail "pelmora-eval"
    [ "$("$work/root/usr/bin/pelmora-solve" 3192)" = "3 ＋ 1 × 9 － 2" ] || fail "pelmora-solve"
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$work/root/usr/bin/pelmora" --version |
        grep -qx 'pelmora 1.0.0' || fail "pelmora"
fi
"$here/embed_test.sh" "$work/root/usr"
echo "packages: ${packages[*]}, lintian clean of errors and warnings, programs and example run"
