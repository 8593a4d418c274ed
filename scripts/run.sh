#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it under Wine in the prefix of
# build/run (never ~/.wine). Without an X display it starts on its own Xvfb and says so.
set -euo pipefail
top=$(dirname "$(dirname "$(realpath "$0")")")
cd "$top"
scripts/deps.sh
scripts/build.sh i686
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  source scripts/xvfb.sh
  trap 'kill "$QUORVEL_XVFB_PID" 2>/dev/null || true' EXIT
  quorvel_start_xvfb
  echo "No X display: Quorvel runs on its own Xvfb at $DISPLAY (take a screenshot with: DISPLAY=$DISPLAY import -window root shot.png)." >&2
fi
scripts/make-prefix.sh build/run win32
source scripts/wine-env.sh build/run win32
exec wine build/i686/Quorvel.exe "$@"
