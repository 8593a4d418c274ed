#!/usr/bin/env bash
# An installation undone on the real platform, twice: once without a display (a scheduled task)
# and once with one (a desktop, where batch mode runs with its splash window); each way in a
# Wine prefix of its own, copied from one made here. The selection covers HKEY_LOCAL_MACHINE,
# HKEY_CURRENT_USER, drive C: and WIN.INI; Quorvel.exe STORECONFIG, an installation made of
# real platform calls, Quorvel.exe COMPARE, the log must hold exactly the installation's
# changes, Quorvel.exe UNINSTALL, and then registry, files and WIN.INI must equal the state
# before the installation; a second UNINSTALL changes nothing. UNINSTALL meets questions on
# the way (a file to overwrite with its backup copy, a write-protected file, a shared file's
# counter at zero): each must take its unattended answer, and a run that waits for one fails
# by its time limit instead of hanging.
# Usage: tests/roundtrip/roundtrip.sh <build folder of one Windows target> <win32|win64>
set -euo pipefail
top=$(dirname "$(dirname "$(dirname "$(realpath "$0")")")")
build=$(realpath "$1")
arch=$2
base="$build/roundtrip-wine"
expected="$top/tests/roundtrip/expected-changes.txt"
limit=120  # seconds for one Quorvel.exe run

rm -rf "$base"
mkdir -p "$base"
unset WAYLAND_DISPLAY
# With a display: the test run's Xvfb, or one of our own when there is none.
display=${DISPLAY:-}
if [ -z "$display" ]; then
  source "$top/scripts/xvfb.sh"
  quorvel_start_xvfb
  display=$DISPLAY
  trap 'kill "$QUORVEL_XVFB_PID" 2>/dev/null || true' EXIT
fi
unset DISPLAY
"$top/scripts/make-prefix.sh" "$base/template" "$arch"

step() { echo "== $*"; }
run() { wine "$@" </dev/null; }
quorvel() {
  local rc=0
  timeout "$limit" wine 'P:\Quorvel.exe' "$@" </dev/null 2>"$root/quorvel.err" || rc=$?
  sed 's/^/   /' "$root/quorvel.err"
  [ "$rc" -ne 124 ] || { echo "Quorvel.exe $* did not end within $limit s: it waits for an answer" >&2; exit 1; }
  [ "$rc" -eq 0 ] || { echo "Quorvel.exe $* ended with exit code $rc" >&2; exit 1; }
}
same() {
  if ! diff -u "$1" "$2" >"$root/diff.txt"; then
    echo "$3:" >&2
    head -60 "$root/diff.txt" >&2
    exit 1
  fi
}
answered() {
  grep -qF -- "$1" "$root/quorvel.err" || { echo "no unattended answer: $1" >&2; exit 1; }
}

# One round trip in the prefix folder $root; DISPLAY is set or not by the caller.
round_trip() {
  cp -a "$base/template" "$root"
  source "$top/scripts/wine-env.sh" "$root" "$arch"
  trap 'wineserver -k 2>/dev/null || true' EXIT
  wineserver -p

  # The program and its files live on a drive of their own (P:), outside the captured C:.
  program="$root/program"
  mkdir -p "$program"
  cp "$build/Quorvel.exe" "$build/RoundTripTool.exe" "$program/"
  ln -sfn "$program" "$WINEPREFIX/dosdevices/p:"

  step "prepare the machine and the selection"
  run 'P:\RoundTripTool.exe' prepare 'P:\'
  step "STORECONFIG"
  quorvel STORECONFIG
  [ -s "$program/OldCFG.SXD" ] || { echo "no OldCFG.SXD written" >&2; exit 1; }
  run 'P:\RoundTripTool.exe' snapshot 'P:\before.txt'

  step "install"
  run 'P:\RoundTripTool.exe' install
  step "COMPARE"
  quorvel COMPARE 'P:\run1'
  [ -s "$program/run1.SXL" ] || { echo "no log P:\\run1.SXL written" >&2; exit 1; }
  run 'P:\RoundTripTool.exe' changes 'P:\run1.SXL' | tr -d '\r' >"$root/changes.txt"
  same "$expected" "$root/changes.txt" "the log does not hold exactly the installation's changes"

  step "UNINSTALL"
  quorvel UNINSTALL 'P:\run1.SXL'
  answered 'Question: File already exists in destination folder. C:\QuorvelRoundTrip\changed.txt'
  answered 'NewFolder\locked.txt is write protected, delete anyway? -> Yes'
  answered 'C:\QuorvelRoundTrip\registered.dll'
  answered "-> Don't Delete File (file not added by the installation)"
  run 'P:\RoundTripTool.exe' snapshot 'P:\after.txt'
  same "$program/before.txt" "$program/after.txt" "the machine after UNINSTALL differs from before the installation"

  step "UNINSTALL again"
  quorvel UNINSTALL 'P:\run1.SXL'
  run 'P:\RoundTripTool.exe' snapshot 'P:\again.txt'
  same "$program/after.txt" "$program/again.txt" "a second UNINSTALL changed the machine"
}

for mode in headless display; do
  (
    root="$base/$mode"
    if [ "$mode" = display ]; then export DISPLAY="$display"; fi
    started=$SECONDS
    step "round trip $mode${DISPLAY:+ on $DISPLAY}"
    round_trip
    if [ "$mode" = display ]; then
      # The window path's own start-up status: the run did not fall back to the headless one.
      grep -qF "Status: Refreshing view." "$root/quorvel.err" ||
        { echo "Quorvel.exe did not run with its windows on $DISPLAY" >&2; exit 1; }
    fi
    echo "round trip $mode passed in $((SECONDS - started)) s"
  )
done
echo "round trip passed"
