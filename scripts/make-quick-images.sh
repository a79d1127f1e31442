#!/usr/bin/env bash
# Regenerates the Quick Images pictures in assets/quickimages/ from tools/quickimages.cpp.
# Usage: scripts/make-quick-images.sh [BUILD-DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
cmake --build "$build" --target brimble-quickimages
"$build/tools/brimble-quickimages" assets/quickimages
