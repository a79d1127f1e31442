#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole suite under the offscreen
# platform. BRIMBLE_SANITIZE=1 builds with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
dir=build-test
flags=()
if [ "${BRIMBLE_SANITIZE:-0}" = 1 ]; then dir=build-asan; flags+=(-DBRIMBLE_SANITIZE=ON); fi
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRIMBLE_TESTS=ON -DBRIMBLE_BENCH=OFF "${flags[@]}"
cmake --build "$dir" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure -j"$(nproc)"
