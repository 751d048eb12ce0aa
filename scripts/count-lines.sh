#!/usr/bin/env bash
# Lines of production code and of test code, blank and comment lines not
# counted (// and /* */ in C++ and .rc; # and docstrings in Python and CMake;
# <!-- --> in the manifest), and their ratio.
set -euo pipefail
cd "$(dirname "$0")/.."

count() {
    awk '
        FNR == 1 { block = 0; doc = 0; hash = FILENAME ~ /(\.py|\.txt|\.cmake|\.clang-format)$/ }
        { line = $0; gsub(/^[ \t]+|[ \t]+$/, "", line) }
        line == "" { next }
        hash && doc { if (line ~ /"""/) doc = 0; next }
        hash && line ~ /^"""/ { if (line !~ /^""".*"""$/ || length(line) < 6) doc = 1; next }
        hash && line ~ /^#/ { next }
        hash { n++; next }
        block { if (line ~ /\*\/|-->/) block = 0; next }
        line ~ /^\/\// { next }
        line ~ /^(\/\*|<!--)/ { if (line !~ /\*\/|-->/) block = 1; next }
        { n++ }
        END { print n + 0 }' "$@"
}

production=$(count $(find driver environment dialog platform -name '*.cpp' -o -name '*.h') \
    resources/*.h resources/*.rc resources/*.manifest)
tests=$(count $(find tests -type f) resources/check_resources.py)
echo "production: $production lines"
echo "tests:      $tests lines"
awk -v t="$tests" -v p="$production" 'BEGIN { printf "ratio:      %.2f\n", t / p }'
