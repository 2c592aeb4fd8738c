#!/usr/bin/env bash
# gui.sh [start [-d] | stop]: the web GUI on the simulated controller,
# served by Apache (prefork, mod_php) on 127.0.0.1:$ARRAY_GUI_PORT with a
# configuration of its own; nothing of the system's Apache set-up changes.
#   start     build if needed, start, print the address, stop on Ctrl-C
#   start -d  start and return (stop later with "gui.sh stop")
#   stop      stop a GUI started from this tree
# Environment: ARRAY_GUI_PORT (8845), ARRAY_GUI_STATE (build/gui: config,
# logs, sessions, the controller state and data directory), ARRAY_GUI_USER
# (the workers' account, default www-data; log-on needs it in group shadow),
# ARRAY_GUI_SENDMAIL (the mail command, default /usr/sbin/sendmail -t -i),
# ARRAY_GUI_BUILD (the build tree whose module is served, default build),
# ARRAY_GUI_LOGON_WAIT (seconds log-on closes for after repeated failures,
# doubling with each further failure; default 10).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
state=${ARRAY_GUI_STATE:-$root/build/gui}
port=${ARRAY_GUI_PORT:-8845}
user=${ARRAY_GUI_USER:-www-data}
action=${1:-start}
detach=${2:-}

stop() {
  if [ -f "$state/run/apache.pid" ]; then
    /usr/sbin/apache2 -f "$state/conf/apache.conf" -k stop 2>/dev/null || true
    for _ in $(seq 1 50); do [ -f "$state/run/apache.pid" ] || break; sleep 0.1; done
    echo "GUI stopped"
  fi
}

case $action in
stop) stop; exit 0 ;;
start) ;;
*) echo "usage: gui.sh [start [-d] | stop]" >&2; exit 2 ;;
esac

if ! command -v /usr/sbin/apache2 >/dev/null || [ ! -f /usr/lib/apache2/modules/libphp8.2.so ]; then
  "$root/scripts/setup.sh"
fi
build=${ARRAY_GUI_BUILD:-$root/build}
module=$build/backend/phpdll/arrayrpc.so
if [ ! -f "$module" ] || [ ! -x "$build/sim/arraysim" ]; then
  "$root/scripts/build.sh" "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
group=$(id -gn "$user")
mkdir -p "$state"/{conf,php,logs,run,sessions,db,logon}
for f in "$state/conf/apache.conf:$root/web/conf/apache.conf.in" "$state/php/php.ini:$root/web/conf/php.ini.in"; do
  sed -e "s|@STATE@|$state|g" -e "s|@PORT@|$port|g" -e "s|@USER@|$user|g" -e "s|@GROUP@|$group|g" \
      -e "s|@WEB@|$root/web|g" -e "s|@MODULE@|$module|g" \
      -e "s|@SENDMAIL@|${ARRAY_GUI_SENDMAIL:-/usr/sbin/sendmail -t -i}|g" "${f#*:}" >"${f%%:*}"
done
# The workers read and write the controller state, the data directory,
# their sessions and the counters of failed log-ons, and write PHP's log;
# nothing else of the state directory.
touch "$state/logs/php_error.log"
chown -R "$user:$group" "$state/sessions" "$state/db" "$state/logon" "$state/logs/php_error.log"
chmod 0700 "$state/sessions" "$state/logon"
export ARRAYCORE_SIM_STATE=${ARRAYCORE_SIM_STATE:-$state/db/sim-state.json}
export ARRAY_DB_DIR=${ARRAY_DB_DIR:-$state/db}
export ARRAY_GUI_PORT=$port
export ARRAY_GUI_STATE=$state
# The module's process registry keys on files of this GUI's own.
export ARRAYRPC_IPC_DIR=${ARRAYRPC_IPC_DIR:-$state/run}
touch "$ARRAYCORE_SIM_STATE" "$ARRAYCORE_SIM_STATE.lock" 2>/dev/null || true
[ -s "$ARRAYCORE_SIM_STATE" ] || "$build/sim/arraysim" reset >/dev/null
chown "$user:$group" "$ARRAYCORE_SIM_STATE" "$ARRAYCORE_SIM_STATE.lock" 2>/dev/null || true
stop >/dev/null
/usr/sbin/apache2 -f "$state/conf/apache.conf" -k start
echo "GUI at http://127.0.0.1:$port/Vesta/ (state in $state)"
if [ "$detach" = "-d" ]; then
  exit 0
fi
trap 'stop; exit 0' INT TERM
echo "Ctrl-C stops it."
while [ -f "$state/run/apache.pid" ]; do sleep 1; done
