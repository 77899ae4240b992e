#!/usr/bin/env bash
# Installs what is missing, builds Quillex and runs every test offscreen; ends with CTest's summary.
# As root it also starts CUPS with a cups-pdf queue, so that printing goes through a real spooler.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"
cd "$top/build"
if cups=$("$top/scripts/start-cups.sh"); then
  for assignment in $cups; do export "${assignment?}"; done
fi
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" "$@"
