#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it under Wine in the prefix of
# build/run (never ~/.wine). Without an X display it starts on its own Xvfb and says so.
set -euo pipefail
top=$(dirname "$(dirname "$(realpath "$0")")")
cd "$top"
scripts/deps.sh
source scripts/wine-targets.sh
target=$(quorvel_primary_target)
arch=$(quorvel_wine_arch "$target")
# Each architecture keeps a prefix of its own.
if [ "$target" = i686 ]; then prefix=build/run; else prefix=build/run64; fi
scripts/build.sh "$target"
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  source scripts/xvfb.sh
  trap 'kill "$QUORVEL_XVFB_PID" 2>/dev/null || true' EXIT
  quorvel_start_xvfb
  echo "No X display: Quorvel runs on its own Xvfb at $DISPLAY (take a screenshot with: DISPLAY=$DISPLAY import -window root shot.png)." >&2
fi
scripts/make-prefix.sh "$prefix" "$arch"
source scripts/wine-env.sh "$prefix" "$arch"
exec wine "build/$target/Quorvel.exe" "$@"
