#!/usr/bin/env bash
# Installs the build into an empty prefix and checks every file there with its validator.
#   install_test.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
# The library's folder: Debian's multiarch one (lib/x86_64-linux-gnu) unless the build chose.
lib=$(sed -n 's/^CMAKE_INSTALL_LIBDIR:PATH=//p' "$build/CMakeCache.txt")
[ "$lib" = "lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)" ] || fail "the library goes to $lib"
dev_doc=share/doc/libpelmora-dev

id=org.pelmora.pelmora
sizes=(16 22 24 32 48 64 128 256 512)
expected=(bin/pelmora bin/pelmora-eval bin/pelmora-solve
          "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml"
          "share/icons/hicolor/scalable/apps/$id.svg"
          share/man/man1/pelmora.1.gz share/man/man1/pelmora-eval.1.gz
          share/man/man1/pelmora-solve.1.gz
          share/doc/pelmora/copyright share/doc/pelmora/changelog.gz
          share/doc/pelmora/language.md.gz
          "$lib/libpelmora.so.2.0.0" "$lib/pkgconfig/pelmora.pc"
          "$lib/cmake/Pelmora/PelmoraConfig.cmake" "$lib/cmake/Pelmora/PelmoraConfigVersion.cmake"
          "$lib/cmake/Pelmora/PelmoraTargets.cmake"
          "$dev_doc/language.md.gz" "$dev_doc/html/index.html" "$dev_doc/html/classpelmora_1_1Evaluator.html"
          "$dev_doc/examples/embed/CMakeLists.txt" "$dev_doc/examples/embed/Makefile"
          "$dev_doc/examples/embed/embed.cpp" "$dev_doc/examples/embed/plot.cpp"
          share/lintian/overrides/libpelmora2)
for doc in libpelmora2 libpelmora-dev; do
    expected+=("share/doc/$doc/copyright" "share/doc/$doc/changelog.gz")
done
for header in builtin_names check conversions evaluator export expression failure host outcome \
    random sandbox_host standard_host symbols value version; do
    expected+=("include/pelmora/$header.h")
done
# The build type names this one (PelmoraTargets-relwithdebinfo.cmake).
expected+=("$(cd "$prefix" && echo "$lib"/cmake/Pelmora/PelmoraTargets-*.cmake)")
for size in "${sizes[@]}"; do expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png"); done
for f in "${expected[@]}"; do [ -s "$prefix/$f" ] || fail "$f is missing"; done
# The reference's pages are Doxygen's to name.
extra=$(cd "$prefix" && find . -type f -not -path "./$dev_doc/html/*" | sed 's|^\./||' | sort |
        comm -23 - <(printf '%s\n' "${expected[@]}" | sort))
[ -z "$extra" ] || fail "unexpected files: $extra"

desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop entry"
for key in Name 'Name\[ja\]' Comment 'Comment\[ja\]'; do
    grep -q "^$key=" "$prefix/share/applications/$id.desktop" || fail "desktop entry lacks $key"
done
grep -qx 'Categories=Game;LogicGame;' "$prefix/share/applications/$id.desktop" ||
    fail "desktop entry categories"

# No error, no warning, not even a pedantic hint.
report=$(appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/$id.metainfo.xml") ||
    fail "metainfo: $report"
! grep -E '^[EWIP]: ' <<<"$report" || fail "metainfo has remarks"

# Each PNG has the size of its folder (the width and height in the IHDR chunk).
for size in "${sizes[@]}"; do
    png="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
    read -r w1 w2 w3 w4 h1 h2 h3 h4 < <(od -An -tu1 -j16 -N8 "$png")
    w=$(((w1 << 24) | (w2 << 16) | (w3 << 8) | w4))
    h=$(((h1 << 24) | (h2 << 16) | (h3 << 8) | h4))
    [ "$w" = "$size" ] && [ "$h" = "$size" ] || fail "$png is ${w}x$h"
done
grep -q '<svg ' "$prefix/share/icons/hicolor/scalable/apps/$id.svg" || fail "svg"

for page in pelmora pelmora-eval pelmora-solve; do
    text=$(gzip -dc "$prefix/share/man/man1/$page.1.gz")
    grep -q '^\.TH' <<<"$text" || fail "$page.1 is no manual page"
    grep -q "^\.SH \"EXIT STATUS\"" <<<"$text" || fail "$page.1 lacks the exit statuses"
done

# The library: its SONAME and links; the programs find it beside them.
[ "$(readlink "$prefix/$lib/libpelmora.so")" = libpelmora.so.2 ] || fail "libpelmora.so link"
[ "$(readlink "$prefix/$lib/libpelmora.so.2")" = libpelmora.so.2.0.0 ] || fail "libpelmora.so.2 link"
objdump -p "$prefix/$lib/libpelmora.so.2.0.0" | grep -E 'SONAME +libpelmora\.so\.2$' >/dev/null ||
    fail "SONAME"
[ "$("$prefix/bin/pelmora-eval" '3+4*2-1')" = "Double: 10" ] || fail "installed pelmora-eval"
[ "$("$prefix/bin/pelmora-solve" --version)" = "pelmora-solve 1.0.0" ] || fail "installed pelmora-solve"
grep -q 'Embedding the Pelmora evaluator' "$prefix/$dev_doc/html/index.html" ||
    fail "the reference's first page is not the embedding guide"
echo "install: ${#expected[@]} files, all valid"
