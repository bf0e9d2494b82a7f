#!/usr/bin/env bash
# Builds everything (installing what is missing) and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --tests
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure --timeout 600 "$@"
