#!/usr/bin/env bash
# An installation undone on the real platform, in a Wine prefix of its own and without a
# display (batch mode must not need one): the selection covers HKEY_LOCAL_MACHINE,
# HKEY_CURRENT_USER, drive C: and WIN.INI; Quorvel.exe STORECONFIG, an installation made of
# real platform calls, Quorvel.exe COMPARE, the log must hold exactly the installation's
# changes, Quorvel.exe UNINSTALL, and then registry, files and WIN.INI must equal the state
# before the installation; a second UNINSTALL changes nothing.
# Usage: tests/roundtrip/roundtrip.sh <build folder of one Windows target> <win32|win64>
set -euo pipefail
top=$(dirname "$(dirname "$(dirname "$(realpath "$0")")")")
build=$(realpath "$1")
arch=$2
root="$build/roundtrip-wine"
expected="$top/tests/roundtrip/expected-changes.txt"

rm -rf "$root"
unset DISPLAY WAYLAND_DISPLAY
"$top/scripts/make-prefix.sh" "$root" "$arch"
source "$top/scripts/wine-env.sh" "$root" "$arch"
trap 'wineserver -k 2>/dev/null || true' EXIT
wineserver -p

# The program and its files live on a drive of their own (P:), outside the captured C:.
program="$root/program"
mkdir -p "$program"
cp "$build/Quorvel.exe" "$build/RoundTripTool.exe" "$program/"
ln -sfn "$program" "$WINEPREFIX/dosdevices/p:"

step() { echo "== $*"; }
run() { wine "$@" </dev/null; }
quorvel() {
  local rc=0
  run 'P:\Quorvel.exe' "$@" 2>"$root/quorvel.err" || rc=$?
  sed 's/^/   /' "$root/quorvel.err"
  [ "$rc" -eq 0 ] || { echo "Quorvel.exe $* ended with exit code $rc" >&2; exit 1; }
}
same() {
  if ! diff -u "$1" "$2" >"$root/diff.txt"; then
    echo "$3:" >&2
    head -60 "$root/diff.txt" >&2
    exit 1
  fi
}

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
run 'P:\RoundTripTool.exe' snapshot 'P:\after.txt'
same "$program/before.txt" "$program/after.txt" "the machine after UNINSTALL differs from before the installation"

step "UNINSTALL again"
quorvel UNINSTALL 'P:\run1.SXL'
run 'P:\RoundTripTool.exe' snapshot 'P:\again.txt'
same "$program/after.txt" "$program/again.txt" "a second UNINSTALL changed the machine"
echo "round trip passed"
