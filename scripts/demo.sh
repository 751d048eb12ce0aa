#!/usr/bin/env bash
# The main job: builds Quorvane and shows a silent install and an uninstall
# in a sandbox Wine prefix under build/demo. It writes under build/ only;
# --refresh-docs also copies the screenshot to docs/main-dialog.png.
set -euo pipefail
cd "$(dirname "$0")/.."
# The dependency install reports what it does; the build is quiet.
bash scripts/install-deps.sh
echo "Building under build/ ..."
bash scripts/build.sh >/dev/null
exec python3 scripts/demo.py "$@"
