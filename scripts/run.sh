#!/usr/bin/env bash
# Builds the suite and starts the arrayctl shell on the simulated
# controller's default adapter, in a state directory of its own.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" build
# A tree configured here for the first time leaves the tests out (their
# packages come with "setup.sh test"); one the tests configured keeps them.
testing=()
[ -f "$root/build/CMakeCache.txt" ] || testing=(-DBUILD_TESTING=OFF)
"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${testing[@]}"
state=${ARRAY_STATE_DIR:-$root/build/state}
mkdir -p "$state/db"
export ARRAYCORE_SIM_STATE=${ARRAYCORE_SIM_STATE:-$state/state.json}
export ARRAY_DB_DIR=${ARRAY_DB_DIR:-$state/db}
export ARRAY_CLOCK_FILE=${ARRAY_CLOCK_FILE:-$state/clock}
export ARRAY_SG_DEVICE=${ARRAY_SG_DEVICE:-$state/sg0}
export ARRAY_SG_WAIT=${ARRAY_SG_WAIT:-0}
[ -e "$ARRAY_CLOCK_FILE" ] || echo 'UTC=false' > "$ARRAY_CLOCK_FILE"
exec "$root/build/cli/arrayctl" "$@"
