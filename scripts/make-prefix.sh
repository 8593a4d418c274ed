#!/usr/bin/env bash
# Creates a throwaway Wine prefix under the given folder (when it is not there yet) with the
# settings tests need: no crash dialog, unmanaged windows, real profile folders.
# Usage: scripts/make-prefix.sh <prefix-folder> <win32|win64>
set -euo pipefail
here=$(dirname "$(realpath "$0")")
source "$here/wine-env.sh" "$1" "$2"
[ -f "$WINEPREFIX/.quorvel-ready" ] && exit 0

rm -rf "$WINEPREFIX"
wineboot -i >/dev/null 2>&1 </dev/null
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 </dev/null
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 </dev/null
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d Y /f >/dev/null 2>&1 </dev/null
wineserver -w
# Wine links the profile folders to $HOME; a walk of C: must not leave the prefix.
find "$WINEPREFIX/drive_c/users" -maxdepth 3 -type l | while read -r link; do
  rm -f "$link" && mkdir -p "$link"
done
# Wine 8 does not load its own fonts from /usr/share/wine/fonts: without them dialogs render in
# a fallback font with other metrics, and Tahoma is missing.
if [ -d /usr/share/wine/fonts ]; then
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
fi
touch "$WINEPREFIX/.quorvel-ready"
