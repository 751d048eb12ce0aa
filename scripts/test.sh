#!/usr/bin/env bash
# Every test: native unit tests, then the end-to-end tests of the real
# 32-bit Quorvane.exe under Wine (a fresh prefix and Xvfb made by the run).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
cd build/native
ctest --output-on-failure "$@"
