#!/usr/bin/env bash
# Signs a copy of Quorvane.exe (Authenticode, SHA-256, with osslsigncode) with the installer
# author's certificate. Sign after the reproducible build: the input stays as it was built, so
# its hash still compares with another build of the same commit; only the copy is signed.
#
#   QUORVANE_SIGN_PASSWORD=... bash scripts/sign.sh Quorvane.exe signed.exe cert.pfx [TIMESTAMP_URL]
#   QUORVANE_SIGN_PASSWORD_FILE=pfx-password.txt bash scripts/sign.sh ...
#
# The PFX's password comes from QUORVANE_SIGN_PASSWORD, or from the file that
# QUORVANE_SIGN_PASSWORD_FILE names (the password on one line). It reaches osslsigncode through
# a pipe or that file, never on a command line, and is never printed. A timestamp URL (an
# RFC 3161 server, as signtool's /tr) keeps the signature valid after the certificate expires;
# without one nothing goes to the network.
set -euo pipefail

fail() { echo "sign.sh: $*" >&2; exit 1; }
[ $# -ge 3 ] && [ $# -le 4 ] || fail "usage: sign.sh INPUT.exe OUTPUT.exe CERT.pfx [TIMESTAMP_URL]"
input=$1 output=$2 pfx=$3
[ -f "$input" ] || fail "no input file $input"
[ -f "$pfx" ] || fail "no certificate file $pfx"
# The signed copy is always a new file: never the build itself.
[ ! -e "$output" ] || fail "$output exists already"
command -v osslsigncode >/dev/null || fail "no osslsigncode (scripts/install-deps.sh installs it)"
timestamp=()
[ $# -lt 4 ] || timestamp=(-ts "$4")

sign() {  # the password source, a file
    osslsigncode sign -pkcs12 "$pfx" -readpass "$1" -h sha256 "${timestamp[@]}" \
        -in "$input" -out "$output"
}
if [ -n "${QUORVANE_SIGN_PASSWORD_FILE:-}" ]; then
    sign "$QUORVANE_SIGN_PASSWORD_FILE"
elif [ -n "${QUORVANE_SIGN_PASSWORD+set}" ]; then
    # printf is a shell builtin: the password is in no process's arguments.
    sign <(printf '%s' "$QUORVANE_SIGN_PASSWORD")
else
    fail "set QUORVANE_SIGN_PASSWORD, or QUORVANE_SIGN_PASSWORD_FILE to a file holding the password"
fi
