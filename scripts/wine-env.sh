# Sourced: the environment of every wine call of the project. Never the user's own prefix.
# Usage: source scripts/wine-env.sh <prefix-folder> <win32|win64>
quorvel_prefix_root=$(realpath -m "$1")
export WINEPREFIX="$quorvel_prefix_root/prefix"
export WINEARCH="$2"
export HOME="$quorvel_prefix_root/home"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
mkdir -p "$HOME"
# Debian's wine wrapper always starts the 32-bit loader when it is installed, and that loader
# cannot start where the kernel runs no 32-bit code: a 64-bit prefix then goes straight to the
# 64-bit loader (wineboot, regedit and the other wrappers call wine-stable, so both names).
source "$(dirname "${BASH_SOURCE[0]}")/wine-targets.sh"
if [ "$WINEARCH" = win64 ] && [ -x /usr/lib/wine/wine64 ] && ! quorvel_runs_i386; then
  export WINELOADER=/usr/lib/wine/wine64
  mkdir -p "$quorvel_prefix_root/bin"
  # Sourced before every test process: written once per prefix folder.
  for quorvel_name in wine wine-stable; do
    [ -x "$quorvel_prefix_root/bin/$quorvel_name" ] && continue
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$quorvel_prefix_root/bin/$quorvel_name"
    chmod +x "$quorvel_prefix_root/bin/$quorvel_name"
  done
  unset quorvel_name
  case ":$PATH:" in *":$quorvel_prefix_root/bin:"*) ;; *) export PATH="$quorvel_prefix_root/bin:$PATH" ;; esac
fi
unset quorvel_prefix_root
