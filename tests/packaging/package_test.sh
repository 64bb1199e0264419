#!/usr/bin/env bash
# Builds the Debian package, checks it with lintian and runs the programs extracted from it.
#   package_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >/dev/null)
deb="$work/out/pelmora_1.0.0_amd64.deb"
[ -f "$deb" ] || fail "no $deb"

depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libicu libedit2 libc6 fonts-ipafont-gothic; do
    grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done

# Errors fail; anything else lintian says is shown.
status=0
report=$(lintian --fail-on error "$deb" 2>&1) || status=$?
grep -v 'running with root privileges' <<<"$report" || true
[ "$status" = 0 ] || fail "lintian reports an error"

dpkg-deb -x "$deb" "$work/root"
for f in usr/share/doc/pelmora/copyright usr/share/doc/pelmora/changelog.gz; do
    [ -s "$work/root/$f" ] || fail "$f is missing"
done
[ "$("$work/root/usr/bin/pelmora-eval" '"a"+1')" = "String: a 1" ] || fail "pelmora-eval"
[ "$("$work/root/usr/bin/pelmora-solve" 3192)" = "3 ＋ 1 × 9 － 2" ] || fail "pelmora-solve"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$work/root/usr/bin/pelmora" --version |
    grep -qx 'pelmora 1.0.0' || fail "pelmora"
echo "package: $(basename "$deb"), lintian clean of errors, programs run"
