#!/usr/bin/env bash
# Builds the plug-ins (Release) in build/ and installs the VST3 bundle into ~/.vst3
# and the VST2 module into ~/.vst.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

bash "$root/tools/setup.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMODULIX_INSTALL_PLUGIN=ON
cmake --build "$root/build" --parallel "$(nproc)"
