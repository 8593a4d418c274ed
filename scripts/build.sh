#!/usr/bin/env bash
# Configures and builds one target into build/<target>.
# Usage: scripts/build.sh [i686|x86_64|native]   (default i686, the primary target)
# QUORVEL_BUILD_TARGET builds one target (and what it needs) instead of all, as the benchmark
# scripts do.
set -euo pipefail
top=$(dirname "$(dirname "$(realpath "$0")")")
target=${1:-i686}
case "$target" in
  i686)   args=(-DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-i686-mingw.cmake") ;;
  x86_64) args=(-DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-x86_64-mingw.cmake") ;;
  native) args=(-DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DQUORVEL_SANITIZE=ON -DQUORVEL_FUZZ=ON) ;;
  *) echo "unknown target $target (i686, x86_64 or native)" >&2; exit 2 ;;
esac
dir="${QUORVEL_BUILD_DIR:-$top/build}/$target"
# Configured anew when the options this script passes have changed since the folder was made: a
# cached option keeps its old value otherwise.
settings="${args[*]} ${QUORVEL_BUILD_TYPE:-RelWithDebInfo}"
if [ ! -f "$dir/build.ninja" ] || [ "$(cat "$dir/.quorvel-configured" 2>/dev/null)" != "$settings" ]; then
  cmake -S "$top" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="${QUORVEL_BUILD_TYPE:-RelWithDebInfo}" "${args[@]}" >/dev/null
  echo "$settings" >"$dir/.quorvel-configured"
fi
set +e
cmake --build "$dir" ${QUORVEL_BUILD_TARGET:+--target "$QUORVEL_BUILD_TARGET"} -- -k 0 | { grep -vE '^\[[0-9]+/[0-9]+\] (Building|Linking)' || true; }
status=${PIPESTATUS[0]}
exit "$status"
