#!/usr/bin/env bash
# Installs what is missing, builds Quillex and starts it, optionally with one document:
#   ./run.sh [document]
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"
exec "$top/build/quillex" "$@"
