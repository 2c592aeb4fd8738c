#!/usr/bin/env bash
# Builds and runs every test: the normal tree (unit and end-to-end tests,
# the PHP module in the real interpreter), the 32-bit x86 tree (the
# platform of the maker's controller library: the same tests without the
# PHP module, and the files of one word size read by the other), the
# sanitizer tree (unit tests under AddressSanitizer and
# UndefinedBehaviorSanitizer) and the fuzz tree (bounded libFuzzer runs,
# clang).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
status=0
# Each stage's time, so that a slow run shows where its minutes went.
mark=$SECONDS
took() { echo "=== $1: $((SECONDS - mark)) s"; mark=$SECONDS; }
"$root/scripts/setup.sh" test
# Audit records of the programs under test go to a socket no one serves
# (tests that check records bind sockets of their own): never the
# machine's log.
export ARRAY_AUDIT_SOCKET="$root/build/no-audit-log"

# (BUILD_TESTING on again in a tree that run.sh or gui.sh configured.)
took "set-up"
"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON
took "normal tree, build"
# No retries: a test that fails once fails the run.
(cd "$root/build" && ctest --output-on-failure -j"$jobs" -LE fuzz) || status=1
took "normal tree, tests"

# Sanitizers and fuzzing run in the 64-bit trees only: the code is the same,
# and a second sanitizer tree would cost more than the whole 32-bit one.
"$root/scripts/build.sh" "$root/build-i386" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/i386.cmake" \
   -DCMAKE_BUILD_TYPE=RelWithDebInfo -DARRAY_PEER_BUILD="$root/build"
took "32-bit tree, build"
# (Not "tee /dev/stderr": when the output goes to a file, reopening it
# truncates everything written before.)
kinds=$(file "$root"/build-i386/{cli/arrayctl,backend/service/arraywatch,sim/arraysim} \
        "$root"/build-i386/{backend/chronicle/libchronicle,sim/libarraycore}.so)
echo "$kinds"
if grep -v 'ELF 32-bit LSB .*Intel 80386' <<<"$kinds"; then status=1; fi
(cd "$root/build-i386" && ctest --output-on-failure -j"$jobs" -LE 'fuzz|stack') || status=1
took "32-bit tree, tests"

# Only the unit tests run here, so only they are built; a unit test program
# the build left out would vanish from the run without a word, so the
# count of unit tests must be the normal tree's.
ARRAY_BUILD_TARGET=unit_tests "$root/scripts/build.sh" "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DARRAY_SANITIZE=ON
took "sanitizer tree, build"
count_unit() { (cd "$1" && ctest -N -L unit | sed -n 's/^Total Tests: //p'); }
if [ "$(count_unit "$root/build-asan")" != "$(count_unit "$root/build")" ]; then
  echo "sanitizer tree: $(count_unit "$root/build-asan") unit tests, normal tree: $(count_unit "$root/build")" >&2
  status=1
fi
(cd "$root/build-asan" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
   ctest --output-on-failure -j"$jobs" -L unit) || status=1
took "sanitizer tree, tests"

if [ -n "$(ls "$root"/fuzz/*/CMakeLists.txt 2>/dev/null)" ]; then
  # Only the fuzz targets: the programs themselves were built and tested
  # in the trees above. The bounded runs share the two cores.
  ARRAY_BUILD_TARGET=fuzz_targets "$root/scripts/build.sh" "$root/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
     -DARRAY_FUZZ=ON -DBUILD_TESTING=OFF -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
  took "fuzz tree, build"
  (cd "$root/build-fuzz" && ctest --output-on-failure -j"$jobs" -L fuzz) || status=1
  took "fuzz tree, runs"
fi
exit $status
