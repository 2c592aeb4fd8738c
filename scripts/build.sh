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
  # The precompiled headers (the JSON library, GoogleTest) are cacheable
  # only with these: no source of the suite uses __DATE__ or __TIME__, and
  # the headers they stand for come from the system's packages.
  export CCACHE_SLOPPINESS=${CCACHE_SLOPPINESS:-pch_defines,time_macros,include_file_mtime,include_file_ctime}
fi
# Ninja (setup.sh installs it with the build tools) keeps both cores busy
# across the targets' boundaries; a tree first configured by another
# generator keeps it, since CMake cannot switch one.
generator=()
if command -v ninja >/dev/null && [ ! -f "$dir/CMakeCache.txt" ]; then
  generator=(-G Ninja)
fi
# Line tables (-g1) rather than full debug information: enough for a
# backtrace, gdb's "where" or a sanitizer report to name file and line, at
# two thirds of the compile time (the packages are stripped either way).
# A caller's own -D of these flags comes later and wins.
lines=(-DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG"
       -DCMAKE_C_FLAGS_DEBUG=-g1 -DCMAKE_CXX_FLAGS_DEBUG=-g1)
cmake -S "$root" -B "$dir" "${generator[@]}" "${launcher[@]}" "${lines[@]}" "$@" >/dev/null
cmake --build "$dir" -j"$(nproc)" ${ARRAY_BUILD_TARGET:+--target "$ARRAY_BUILD_TARGET"}
