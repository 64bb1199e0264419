#!/usr/bin/env bash
# Installs the Debian packages the build needs when they are missing, then configures build/.
# Sourced by run.sh and test.sh.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config libgtest-dev libicu-dev qt6-base-dev
          fonts-ipafont-gothic fonts-noto-cjk libcli11-dev libedit-dev
          help2man gzip file dpkg-dev desktop-file-utils appstream lintian
          # the window read by the Orca screen reader on a virtual display
          xvfb openbox xdotool x11-utils dbus-x11 at-spi2-core python3 python3-pyatspi
          orca speech-dispatcher procps
          # .ci/run: coverage, the sanitizer build, libFuzzer and readable sanitizer stacks
          gcovr clang libclang-rt-14-dev llvm
          # .ci/run: the library's reference and its ABI check
          doxygen abigail-tools)
# A script that sources this file may ask for more (scripts/screenshot.sh does).
packages+=(${extra_packages[@]+"${extra_packages[@]}"})

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
build="$root/build"
echo "==> Configuring in $build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
