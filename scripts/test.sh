#!/usr/bin/env bash
# Every test: native unit tests, then the end-to-end tests of the real
# Quorvane.exe under Wine (a fresh prefix and Xvfb made by the run), the 64-bit
# build everywhere and the shipped 32-bit one where this machine runs 32-bit code.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
why=$(bash scripts/runs-32bit.sh) || echo "wine_rows_32 is skipped: $why"
cd build/native
ctest --output-on-failure "$@"
