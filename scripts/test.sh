#!/usr/bin/env bash
# Builds and runs every test: the normal tree (unit and end-to-end tests,
# the PHP module in the real interpreter), the sanitizer tree (unit tests
# under AddressSanitizer and UndefinedBehaviorSanitizer) and the fuzz tree
# (bounded libFuzzer runs, clang).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
jobs=$(nproc)
status=0

"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
# No retries: a test that fails once fails the run.
(cd "$root/build" && ctest --output-on-failure -j"$jobs" -LE fuzz) || status=1

"$root/scripts/build.sh" "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DARRAY_SANITIZE=ON
(cd "$root/build-asan" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
   ctest --output-on-failure -j"$jobs" -L unit) || status=1

if [ -n "$(ls "$root"/fuzz/*/CMakeLists.txt 2>/dev/null)" ]; then
  "$root/scripts/build.sh" "$root/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DARRAY_FUZZ=ON -DBUILD_TESTING=OFF \
     -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
  (cd "$root/build-fuzz" && ctest --output-on-failure -L fuzz) || status=1
fi
exit $status
