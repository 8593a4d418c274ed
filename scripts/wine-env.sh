# Sourced: the environment of every wine call of the project. Never the user's own prefix.
# Usage: source scripts/wine-env.sh <prefix-folder> <win32|win64>
quorvel_prefix_root=$(realpath -m "$1")
export WINEPREFIX="$quorvel_prefix_root/prefix"
export WINEARCH="$2"
export HOME="$quorvel_prefix_root/home"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset quorvel_prefix_root
mkdir -p "$HOME"
