#!/usr/bin/env bash
# Installs what is missing, builds Brimble! and starts it with its delivered database.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRIMBLE_TESTS=OFF -DBRIMBLE_BENCH=OFF
cmake --build build -j"$(nproc)" --target brimble
# The delivered database lies next to the program; it is made once and never replaced.
exec ./build/brimble "$@"
