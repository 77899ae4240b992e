#!/usr/bin/env bash
# Installs what is missing, builds Quillex and runs every test offscreen; ends with CTest's summary.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"
cd "$top/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" "$@"
