#!/usr/bin/env bash
# Tells whether this machine executes 32-bit x86 code, by running some: the
# 32-bit Wine loader's --version. Exit 0 when it runs; otherwise exit 1 with
# one line on stdout saying why. QUORVANE_NO_32BIT=1 forces the "cannot"
# answer, so that the 64-bit fallback can be tried on any machine.
set -u
loader=/usr/lib/wine/wine
if [ "${QUORVANE_NO_32BIT:-}" = 1 ]; then
    echo "32-bit code not run here: QUORVANE_NO_32BIT=1"
    exit 1
fi
if [ ! -x "$loader" ]; then
    echo "32-bit code not run here: no 32-bit Wine loader ($loader; package wine32:i386)"
    exit 1
fi
if ! out=$("$loader" --version 2>&1); then
    out=${out%%$'\n'*}
    echo "32-bit code cannot run on this machine ($loader --version: ${out##*: })"
    exit 1
fi
exit 0
