#!/usr/bin/env bash
# build.sh DIR [cmake options...]: configure and build one tree (only the
# target ARRAY_BUILD_TARGET names, when it is set).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1; shift
launcher=()
# A compiler cache (setup.sh installs one with the build tools) makes
# rebuilds of the several trees and of other checkouts cheap; without one
# the trees build all the same.
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  # Paths below the tree root are hashed relative to it, so that separate
  # checkouts share their entries; and the build directory is left out of
  # the hash of objects with debug information (every tree makes them),
  # which would otherwise part them again. The price: an object taken from
  # the cache names the directory of the checkout that first compiled it.
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}
  export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
fi
cmake -S "$root" -B "$dir" "${launcher[@]}" "$@" >/dev/null
cmake --build "$dir" -j"$(nproc)" ${ARRAY_BUILD_TARGET:+--target "$ARRAY_BUILD_TARGET"}
