#!/usr/bin/env bash
# Configures and builds everything into build/ (programs in build/bin, tests in build/tests).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$root/build" -j"$(nproc)"
