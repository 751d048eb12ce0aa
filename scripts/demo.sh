#!/usr/bin/env bash
# The main job: builds Quorvane and shows a silent install and an uninstall
# in a sandbox Wine prefix under build/demo.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh >/dev/null
exec python3 scripts/demo.py "$@"
