#!/usr/bin/env bash
# The whole machine in one snapshot, in a 64-bit prefix: an installation writes both registry
# views (HKLM\Software and its Wow6432Node copy) and both system folders (System32 and
# SysWOW64); the log of Quorvel.exe COMPARE must list all four, and UNINSTALL must remove all
# four. Run with the 32-bit exe it shows that a 32-bit build on 64-bit Windows records the
# native view; then the 64-bit exe's snapshot of the same prefix must show no difference under
# HKLM\Software or the two system folders. Run with the 64-bit exe it checks the same
# installation without the views in question.
# Usage: tests/roundtrip/wow64.sh <x86_64 build folder> <Quorvel.exe to test> [<i686|x86_64>]
# Exits with 77 (skipped) where the exe to test cannot run: a 32-bit exe on a kernel that runs
# no 32-bit code, or a build that was not made.
set -euo pipefail
top=$(dirname "$(dirname "$(dirname "$(realpath "$0")")")")
build=$(realpath "$1")
exe=$(realpath -m "$2")
kind=${3:-x86_64}
source "$top/scripts/wine-targets.sh"
if [ ! -f "$exe" ]; then
  echo "SKIPPED: $exe was not built" >&2
  exit 77
fi
if [ "$kind" = i686 ] && ! quorvel_runs_i386; then
  echo "SKIPPED: this kernel runs no 32-bit code, so the 32-bit exe cannot run here" >&2
  exit 77
fi

root="$build/wow64-$kind-wine"
limit=180
rm -rf "$root"
unset DISPLAY WAYLAND_DISPLAY
"$top/scripts/make-prefix.sh" "$root" win64
source "$top/scripts/wine-env.sh" "$root" win64
trap 'wineserver -k 2>/dev/null || true' EXIT
wineserver -p

program="$root/program"
mkdir -p "$program"
cp "$exe" "$program/Quorvel.exe"
cp "$build/Quorvel.exe" "$program/Quorvel64.exe"
cp "$build/RoundTripTool.exe" "$program/"
ln -sfn "$program" "$WINEPREFIX/dosdevices/p:"
drive_c="$WINEPREFIX/drive_c"

step() { echo "== $*"; }
run() { wine "$@" </dev/null; }
quorvel() {
  local exe=$1 rc=0
  shift
  timeout "$limit" wine "P:\\$exe" "$@" </dev/null 2>"$root/quorvel.err" || rc=$?
  sed 's/^/   /' "$root/quorvel.err"
  [ "$rc" -eq 0 ] || { echo "$exe $* ended with exit code $rc" >&2; exit 1; }
}
changes() { run 'P:\RoundTripTool.exe' changes "$1" | tr -d '\r'; }
fail() { echo "$*" >&2; exit 1; }

# The four places of the installation, as the log names them.
installed=(
  'registry new HKEY_LOCAL_MACHINE\Software\QuorvelWow64'
  'registry new HKEY_LOCAL_MACHINE\Software\Wow6432Node\QuorvelWow64'
  'drives new C:\windows\system32\ | quorvel-wow64.dll'
  'drives new C:\windows\syswow64\ | quorvel-wow64.dll'
)

step "prepare the selection (HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, C:, WIN.INI)"
run 'P:\RoundTripTool.exe' prepare 'P:\' >/dev/null
step "STORECONFIG ($kind)"
quorvel Quorvel.exe STORECONFIG

step "install into both views"
run reg add 'HKLM\Software\QuorvelWow64' /v View /d native /f /reg:64 >/dev/null
run reg add 'HKLM\Software\QuorvelWow64' /v View /d wow64 /f /reg:32 >/dev/null
echo native >"$drive_c/windows/system32/quorvel-wow64.dll"
echo wow64 >"$drive_c/windows/syswow64/quorvel-wow64.dll"

step "COMPARE ($kind)"
quorvel Quorvel.exe COMPARE 'P:\wow'
changes 'P:\wow.SXL' >"$root/changes.txt"
for line in "${installed[@]}"; do
  grep -qixF -- "$line" "$root/changes.txt" || fail "the log does not list: $line"
done

step "UNINSTALL ($kind)"
quorvel Quorvel.exe UNINSTALL 'P:\wow.SXL'
for view in 64 32; do
  if run reg query 'HKLM\Software\QuorvelWow64' "/reg:$view" >/dev/null 2>&1; then
    fail "HKLM\\Software\\QuorvelWow64 is still there in the $view-bit view"
  fi
done
for folder in system32 syswow64; do
  [ ! -e "$drive_c/windows/$folder/quorvel-wow64.dll" ] || fail "C:\\windows\\$folder\\quorvel-wow64.dll is still there"
done

if [ "$kind" = i686 ]; then
  step "the 64-bit exe's snapshot against the 32-bit exe's"
  quorvel Quorvel64.exe STORECONFIG
  quorvel Quorvel.exe COMPARE 'P:\views'
  changes 'P:\views.SXL' >"$root/views.txt"
  if grep -iE 'HKEY_LOCAL_MACHINE\\Software|C:\\windows\\(system32|syswow64)\\' "$root/views.txt" >"$root/views-differ.txt"; then
    head -20 "$root/views-differ.txt" >&2
    fail "the two builds do not record the same machine"
  fi
fi
echo "both views recorded and undone ($kind)"
