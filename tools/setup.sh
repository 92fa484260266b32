#!/usr/bin/env bash
# Installs every Debian package the build, the tests, the benchmarks and the
# fuzzer need. Safe to run again: apt-get skips what is already installed.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git patch
    juce-modules-source
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    clang libclang-rt-14-dev
    python3 python3-numpy python3-scipy
    xvfb xauth twm xfonts-base x11-utils fonts-dejavu-core fonts-dejavu-extra
    libx11-dev libxtst-dev libpng-dev ardour
    strace
)

if [ "$(id -u)" -ne 0 ]; then
    SUDO=sudo
else
    SUDO=
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
