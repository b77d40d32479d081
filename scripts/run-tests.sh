#!/usr/bin/env bash
# Builds everything and runs every test, PostgreSQL ones on a throwaway server on loopback.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"
# shellcheck source=postgres-for-tests.sh
source "$root/scripts/postgres-for-tests.sh"
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
ctest --test-dir "$root/build" --output-on-failure -j2
