#!/usr/bin/env bash
# Builds everything under build/: the 32-bit program (shipped), the 64-bit
# program (run by the tests wherever 32-bit code cannot run) and the native unit tests.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs=$(nproc)
cmake --no-warn-unused-cli -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win32 -j"$jobs"
cmake --no-warn-unused-cli -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win64 -j"$jobs"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug \
    -DQUORVANE_WIN32_DIR="$PWD/build/win32" -DQUORVANE_WIN64_DIR="$PWD/build/win64" >/dev/null
cmake --build build/native -j"$jobs"
