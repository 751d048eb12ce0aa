#!/usr/bin/env bash
# A measurement, not a test: Quorvane.exe -install -silence and -uninstall under
# Wine against Wine's xcopy / rmdir and native cp / rm, on a payload made from a
# fixed seed (about 3,600 files and 160 MB, plus a tree of 15,000 small files),
# in a prefix of its own under build/bench. Interleaved runs, everything pinned
# to CPU 0, the page cache dropped before each run where permitted, every run
# checked for every file and byte; prints min, median and ratios.
#
#   bash scripts/bench.sh [--runs N] [--baseline OLD.exe] [--quorvane-only] [--startup]
#
# --startup times start-up alone instead: -install -silence with the three
# payload folders empty against cmd /c exit, 20 interleaved runs each by
# default, page cache kept (under a minute).
# --baseline adds the older exe's install and uninstall (same payload, same
# targets), interleaved with the current ones, and prints the new/old ratios.
# --quorvane-only leaves out the other tools: with --baseline, about 8 minutes
# for 5 runs instead of 11.
set -euo pipefail
args=()
while [ $# -gt 0 ]; do
    case "$1" in
        --baseline) args+=(--baseline "$(realpath "$2")"); shift 2 ;;
        *) args+=("$1"); shift ;;
    esac
done
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# The shipped 32-bit build where this machine runs 32-bit code, else the 64-bit one.
if why=$(bash scripts/runs-32bit.sh); then
    export QUORVANE_BITS=32
    echo "Bench of the 32-bit build (the shipped one): this machine runs 32-bit code."
else
    export QUORVANE_BITS=64
    echo "Bench of the 64-bit build: $why."
fi
echo "Building under build/ ..."
bash scripts/build.sh >/dev/null
# Pinned: on a 2-core virtual machine, unpinned Wine runs are slower and noisy.
exec taskset -c 0 python3 scripts/bench.py "${args[@]}"
