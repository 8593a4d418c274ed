#!/usr/bin/env bash
# Installs what is missing, builds every target and runs every test: the native sanitizer build
# of the engine, then the Windows builds under Wine in throwaway prefixes of their own.
set -euo pipefail
top=$(dirname "$(dirname "$(realpath "$0")")")
cd "$top"
scripts/deps.sh

scripts/build.sh native
scripts/build.sh i686
scripts/build.sh x86_64

ctest --test-dir build/native --output-on-failure --no-tests=error -j2

# Windows tests create real windows: the Wine session needs a display before its first call.
source scripts/xvfb.sh
pids=()
cleanup() {
  for arch in i686 x86_64; do
    [ -d "build/$arch/wine/prefix" ] && (source scripts/wine-env.sh "build/$arch/wine" win32; wineserver -k 2>/dev/null || true)
  done
  [ -n "${QUORVEL_XVFB_PID:-}" ] && kill "$QUORVEL_XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT
quorvel_start_xvfb

scripts/make-prefix.sh build/i686/wine win32 & pids+=($!)
scripts/make-prefix.sh build/x86_64/wine win64 & pids+=($!)
for p in "${pids[@]}"; do wait "$p"; done

for arch in i686 x86_64; do
  wine_arch=win32; [ "$arch" = x86_64 ] && wine_arch=win64
  (source scripts/wine-env.sh "build/$arch/wine" "$wine_arch" && wineserver -p)
  echo "== Windows tests ($arch, under Wine)"
  ctest --test-dir "build/$arch" --output-on-failure --no-tests=error -j2
done
