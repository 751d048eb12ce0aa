#!/usr/bin/env bash
# Installs what the build and the tests need on a fresh Debian machine, only
# when something is missing. Safe to run again.
set -euo pipefail

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

have_cmd cmake || need+=(cmake)
have_cmd g++ || need+=(g++)
have_cmd make || need+=(make)
[ -f /usr/src/googletest/CMakeLists.txt ] || have_pkg libgtest-dev || need+=(googletest libgtest-dev)
have_cmd i686-w64-mingw32-g++-posix || need+=(g++-mingw-w64-i686-posix)
have_cmd x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64-posix)
have_cmd i686-w64-mingw32-windres || need+=(binutils-mingw-w64-i686)
have_cmd x86_64-w64-mingw32-windres || need+=(binutils-mingw-w64-x86-64)
have_cmd wine64 || have_pkg wine64 || need+=(wine64)
have_pkg wine32:i386 || need+=(wine32:i386)
have_cmd wine || have_pkg wine || need+=(wine)
# xvfb-run (in xvfb) needs xauth, which xvfb only recommends.
have_cmd xvfb-run || need+=(xvfb)
have_cmd xauth || need+=(xauth)
have_cmd xwd || need+=(x11-apps)
# A "convert" may be on PATH without ImageMagick behind it: ask for the package.
have_pkg imagemagick || need+=(imagemagick)
# Debian's python3 (the one that sees Debian's Python packages) and pefile for
# the resource check.
have_pkg python3 || need+=(python3)
have_pkg python3-pefile || need+=(python3-pefile)
# The installers that the end-to-end tests build (NSIS, and MSI from WiX source).
have_cmd makensis || need+=(nsis)
have_cmd wixl || need+=(wixl)
# Signing a copy of the release (scripts/sign.sh), and the throwaway certificate of its test.
have_cmd osslsigncode || need+=(osslsigncode)
have_cmd openssl || need+=(openssl)

if [ ${#need[@]} -eq 0 ]; then
    exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${need[*]} (run this script as root to install them)" >&2
    exit 1
fi

echo "install-deps: missing, to install: ${need[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "install-deps: adding the i386 architecture (for wine32)"
    dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
echo "install-deps: apt-get update"
apt-get update -q
echo "install-deps: apt-get install (downloads, unpacks and sets up each package; may take minutes)"
# One line per downloaded, unpacked and set-up package, so progress shows.
apt-get install -y -q --no-install-recommends "${need[@]}" |
    grep --line-buffered -E '^(Get:|Unpacking|Setting up|E:)' || true
for cmd in "${need[@]}"; do
    have_pkg "${cmd%%:*}" || have_pkg "$cmd" || { echo "install-deps: $cmd did not install" >&2; exit 1; }
done
echo "install-deps: done"
