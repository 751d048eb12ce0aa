#!/usr/bin/env bash
# The main job: builds Quorvane and shows a silent install and an uninstall
# in a sandbox Wine prefix under build/demo. It writes under build/ only;
# --refresh-docs also copies the screenshot to docs/main-dialog.png.
set -euo pipefail
cd "$(dirname "$0")/.."
# The dependency install reports what it does; the build is quiet.
bash scripts/install-deps.sh
# The shipped 32-bit build where this machine runs 32-bit code, else the 64-bit one.
if why=$(bash scripts/runs-32bit.sh); then
    export QUORVANE_BITS=32
    echo "Demo of the 32-bit build (the shipped one): this machine runs 32-bit code."
else
    export QUORVANE_BITS=64
    echo "Demo of the 64-bit build: $why."
fi
echo "Building under build/ ..."
bash scripts/build.sh >/dev/null
# On an X display of its own, made and ended by xvfb-run; --show uses $DISPLAY.
case " $* " in
    *" --show "*) exec python3 scripts/demo.py "$@" ;;
    *) exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" python3 scripts/demo.py "$@" ;;
esac
