#!/usr/bin/env bash
# Installs what is missing, builds in Release and starts Quillet.
# Arguments are handed to the program (for example a checkbook file).
set -euo pipefail
cd "$(dirname "$0")"

./tools/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLET_TESTS=OFF >/dev/null
cmake --build build-release -j "$(nproc)"
exec build-release/app/quillet "$@"
