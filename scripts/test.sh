#!/usr/bin/env bash
# Installs what is missing, checks the format of the sources, builds every target and runs every
# test: the native sanitizer build of the engine, then the Windows builds under Wine in throwaway
# prefixes of their own.
# QUORVEL_TARGETS narrows the targets (default "native i686 x86_64"); QUORVEL_BUILD_DIR moves
# the build folder (default build/).
set -euo pipefail
top=$(dirname "$(dirname "$(realpath "$0")")")
cd "$top"
scripts/deps.sh
scripts/check-format.sh

targets=${QUORVEL_TARGETS:-native i686 x86_64}
builds=$(realpath -m "${QUORVEL_BUILD_DIR:-build}")
export QUORVEL_BUILD_DIR="$builds"

for t in $targets; do scripts/build.sh "$t"; done

if [[ " $targets " == *" native "* ]]; then
  echo "== Engine tests (native, sanitizers)"
  ctest --test-dir "$builds/native" --output-on-failure --no-tests=error -j2
fi

source scripts/wine-targets.sh
windows=()
for t in $targets; do
  [ "$t" = native ] && continue
  if [ "$t" = i686 ] && ! quorvel_runs_i386; then
    echo "== Windows tests (i686): NOT RUN. This kernel runs no 32-bit code (an i386 program fails with" \
      "\"Exec format error\"), so 32-bit Wine cannot start here; the i686 build was compiled, its tests" \
      "run on a machine with IA-32 emulation." >&2
    continue
  fi
  windows+=("$t")
done
[ ${#windows[@]} -eq 0 ] && exit 0

# Windows tests create real windows: the Wine session needs a display before its first call.
source scripts/xvfb.sh
cleanup() {
  for t in "${windows[@]}"; do
    (source scripts/wine-env.sh "$builds/$t/wine" "$(quorvel_wine_arch "$t")"; wineserver -k 2>/dev/null || true)
  done
  [ -n "${QUORVEL_XVFB_PID:-}" ] && kill "$QUORVEL_XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT
quorvel_start_xvfb

pids=()
for t in "${windows[@]}"; do
  scripts/make-prefix.sh "$builds/$t/wine" "$(quorvel_wine_arch "$t")" & pids+=($!)
done
# A prefix that could not be made ends the run with a reason, not a bare exit code.
for p in "${pids[@]}"; do wait "$p" || { echo "== Making a Wine prefix failed (see above); no Windows tests ran." >&2; exit 1; }; done

for t in "${windows[@]}"; do
  (source scripts/wine-env.sh "$builds/$t/wine" "$(quorvel_wine_arch "$t")" && wineserver -p)
  echo "== Windows tests ($t, under Wine)"
  ctest --test-dir "$builds/$t" --output-on-failure --no-tests=error -j2
done
