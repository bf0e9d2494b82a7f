#!/usr/bin/env bash
# Builds the game (installing what is missing) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
exec "${BUILD_DIR:-build}/quibbix" "$@"
