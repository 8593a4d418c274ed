#!/usr/bin/env bash
# Takes the pictures of the help document from the program itself: starts an Xvfb and a
# throwaway Wine prefix of its own, runs Quorvel.exe there, opens each window with the keyboard
# as a user would, grabs just that window and writes it, reduced to 256 colours, as
# docs/help/images/<name>.png. The pictures are committed; run this again when a window changes.
# Usage: scripts/help-screenshots.sh [path/to/Quorvel.exe]   (default build/x86_64/Quorvel.exe)
# The same windows at another scaling, to look at, not for the help:
#   QUORVEL_DPI=192 QUORVEL_SHOTS_DIR=/tmp/shots192 scripts/help-screenshots.sh
set -euo pipefail
top=$(dirname "$(dirname "$(realpath "$0")")")
exe=$(realpath "${1:-$top/build/x86_64/Quorvel.exe}")
images=$(realpath -m "${QUORVEL_SHOTS_DIR:-$top/docs/help/images}")
[ -f "$exe" ] || { echo "no $exe: build it first (scripts/build.sh x86_64)" >&2; exit 1; }
case "$(file -b "$exe")" in *x86-64*) arch=win64 ;; *) arch=win32 ;; esac

work=$(mktemp -d /tmp/quorvel-shots.XXXXXX)
source "$top/scripts/xvfb.sh"
cleanup() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
  [ -n "${QUORVEL_XVFB_PID:-}" ] && kill "$QUORVEL_XVFB_PID" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM
quorvel_start_xvfb
"$top/scripts/make-prefix.sh" "$work/wine" "$arch"
source "$top/scripts/wine-env.sh" "$work/wine" "$arch"
if [ -n "${QUORVEL_DPI:-}" ]; then
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$QUORVEL_DPI" /f >/dev/null 2>&1
  wineserver -w
fi

# The program keeps its files beside itself: a copy in the prefix, not the build folder.
mkdir -p "$WINEPREFIX/drive_c/Quorvel"
cp "$exe" "$WINEPREFIX/drive_c/Quorvel/Quorvel.exe"
wine 'C:\Quorvel\Quorvel.exe' >"$work/quorvel.log" 2>&1 </dev/null &

# The id of the visible window whose title is exactly title, once it shows.
window_id() {
  local title=$1
  for _ in $(seq 300); do
    local id
    id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n 1 || true)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  echo "no window \"$title\" appeared" >&2
  return 1
}

# Waits until the window is gone, so the next key reaches the one below it.
window_gone() {
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  echo "window \"$1\" did not close" >&2
  return 1
}

keys() {
  for key in "$@"; do
    xdotool key "$key"
    sleep 0.3
  done
}

# grab <window id> <name>: the window alone, in 256 colours.
grab() {
  sleep 0.5  # the window paints after it shows
  import -window "$1" "$work/$2.png"
  convert "$work/$2.png" -strip -colors 256 "PNG8:$images/$2.png"
  echo "$images/$2.png: $(stat -c %s "$images/$2.png") bytes"
}

mkdir -p "$images"
# The splash window carries the same title: the main window is the one left after its minimum
# time.
sleep 6
# The welcome window greets a first start; its Start New Wizard opens the wizard.
welcome=$(window_id "Quorvel - Welcome")
grab "$welcome" welcome
keys Return
window_gone "Quorvel - Welcome"
wizard=$(window_id "Quorvel - Startpage")
grab "$wizard" wizard-start
# "Install an Application" has the focus; then to the save step.
keys Return alt+n
grab "$wizard" wizard-save
keys Escape
window_gone "Quorvel - Startpage"
main=$(window_id "Quorvel")
grab "$main" main-window

# Tab to the selection's page tabs, then the arrow keys to "Options / Icons".
keys Tab Tab Right Right Right
# Looked up again: Wine may have made a new X window for it meanwhile.
main=$(window_id "Quorvel")
grab "$main" main-icons
keys Left Left Left

keys alt+o s
settings=$(window_id "Quorvel - Settings")
grab "$settings" settings-general
# From the first field back past Apply, Cancel and OK to the tabs, then to "Delete".
keys shift+Tab shift+Tab shift+Tab shift+Tab Right Right
grab "$settings" settings-delete
keys Escape
window_gone "Quorvel - Settings"

keys alt+a a c
compare=$(window_id "Quorvel - Compare Two Configurations")
grab "$compare" compare
keys Escape
window_gone "Quorvel - Compare Two Configurations"

keys alt+a f
fonts=$(window_id "Quorvel - Delete Fonts")
# The second row: the first is a bitmap font in Wine, without TrueType information to show.
keys Down
grab "$fonts" delete-fonts
keys Escape
window_gone "Quorvel - Delete Fonts"

keys alt+h a
about=$(window_id "Quorvel - About")
grab "$about" about
keys Return
window_gone "Quorvel - About"

du -cb "$images"/*.png | tail -n 1
