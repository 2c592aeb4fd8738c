#!/usr/bin/env bash
# gui.sh [start [-d] [--tls] | stop]: the whole product on the simulated
# controller: the web GUI served by Apache (prefork, mod_php) with a
# configuration of its own, and the daemon arraywatch on the same state,
# capturing events, running schedules and asking the GUI to send mail.
# Nothing of the system's Apache set-up changes.
#   start        build if needed, start, print the address, stop on Ctrl-C
#   start -d     start and return (stop later with "gui.sh stop")
#   start --tls  serve it as the production site does (web/conf/
#                arraysuite-site.conf): HTTPS on $ARRAY_GUI_ADDRESS, with a
#                certificate made here unless one is given; the loopback
#                port then only serves the daemon and redirects to HTTPS
#   stop         stop the daemon and the GUI started from this tree
# Environment: ARRAY_GUI_PORT (8845: plain HTTP on loopback), ARRAY_GUI_STATE
# (build/gui: config, logs, sessions, the controller state and data
# directory), ARRAY_GUI_USER (the workers' account, default www-data; log-on
# needs it in group shadow), ARRAY_GUI_SENDMAIL (the mail command, default
# /usr/sbin/sendmail -t -i), ARRAY_GUI_BUILD (the build tree whose module is
# served, default build), ARRAY_GUI_LOGON_WAIT (seconds log-on closes for
# after repeated failures, doubling with each further failure; default 10),
# ARRAY_GUI_DAEMON (the daemon program, default the build's arraywatch, run
# as the workers' account; "none" starts none), ARRAY_AUDIT_SOCKET (the
# datagram socket the audit records go to instead of /dev/log, passed on to
# the workers).
# With --tls: ARRAY_GUI_ADDRESS (127.0.0.1; * for every address),
# ARRAY_GUI_NAME (the address, or this host's name for *), ARRAY_GUI_TLS_PORT
# (8843), ARRAY_GUI_HTTP_PORT (plain HTTP on that address, redirected to
# HTTPS; none by default), ARRAY_GUI_TLS_CERT and ARRAY_GUI_TLS_KEY (PEM
# files; by default a self-signed pair made in the state directory).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
state=${ARRAY_GUI_STATE:-$root/build/gui}
port=${ARRAY_GUI_PORT:-8845}
user=${ARRAY_GUI_USER:-www-data}
action=${1:-start}
detach= tls=
for arg in "${@:2}"; do
  case $arg in
  -d) detach=-d ;;
  --tls) tls=1 ;;
  *) echo "usage: gui.sh [start [-d] [--tls] | stop]" >&2; exit 2 ;;
  esac
done

stop() {
  # The daemon first: it sends its requests to the web server.
  if [ -f "$state/run/daemon" ]; then
    { read -r daemon_prog; read -r daemon_user; read -r daemon_db; } <"$state/run/daemon"
    # As its own account: it signals only an instance whose pid file it owns.
    ARRAY_DB_DIR=$daemon_db setpriv --reuid="$daemon_user" --regid="$(id -g "$daemon_user")" --init-groups \
      "$daemon_prog" stop </dev/null >/dev/null 2>&1 || true
    rm -f "$state/run/daemon"
    echo "daemon stopped"
  fi
  if [ -f "$state/run/apache.pid" ]; then
    /usr/sbin/apache2 -f "$state/conf/apache.conf" -k stop 2>/dev/null || true
    for _ in $(seq 1 50); do [ -f "$state/run/apache.pid" ] || break; sleep 0.1; done
    echo "GUI stopped"
  fi
}

case $action in
stop) stop; exit 0 ;;
start) ;;
*) echo "usage: gui.sh [start [-d] [--tls] | stop]" >&2; exit 2 ;;
esac

"$root/scripts/setup.sh" build gui
build=${ARRAY_GUI_BUILD:-$root/build}
module=$build/backend/phpdll/arrayrpc.so
daemon=${ARRAY_GUI_DAEMON:-$build/backend/service/arraywatch}
if [ ! -f "$module" ] || [ ! -x "$build/sim/arraysim" ] || [ ! -f "$build/web/lib/status_texts.php" ] ||
   { [ "$daemon" != none ] && [ ! -x "$daemon" ]; }; then
  # As in run.sh: a new tree without the tests, an existing one as it is.
  testing=()
  [ -f "$build/CMakeCache.txt" ] || testing=(-DBUILD_TESTING=OFF)
  "$root/scripts/build.sh" "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${testing[@]}"
fi
group=$(id -gn "$user")
mkdir -p "$state"/{conf,php,logs,run,sessions,db,logon}
mode="# plain HTTP on loopback"
address=${ARRAY_GUI_ADDRESS:-127.0.0.1}
name=${ARRAY_GUI_NAME:-$address}
[ "$name" != "*" ] || name=$(hostname -f 2>/dev/null || hostname)
tls_port=${ARRAY_GUI_TLS_PORT:-8843}
audit_env="# audit records go to /dev/log"
[ -z "${ARRAY_AUDIT_SOCKET:-}" ] || audit_env="PassEnv ARRAY_AUDIT_SOCKET"
http_port="# no plain HTTP on $address"
[ -z "${ARRAY_GUI_HTTP_PORT:-}" ] || http_port="Define ARRAYGUI_HTTP_PORT $ARRAY_GUI_HTTP_PORT"
cert=${ARRAY_GUI_TLS_CERT:-$state/tls/cert.pem}
key=${ARRAY_GUI_TLS_KEY:-$state/tls/key.pem}
if [ -n "$tls" ]; then
  mode="Define ARRAYGUI_TLS"
  if [ -z "${ARRAY_GUI_TLS_CERT:-}" ] && { [ ! -s "$cert" ] || [ "$(cat "$state/tls/name" 2>/dev/null)" != "$name" ]; }; then
    # A self-signed certificate for the name, valid for 30 days; the key is
    # read by Apache's parent (root) only.
    command -v openssl >/dev/null || { echo "gui.sh: --tls needs openssl" >&2; exit 1; }
    mkdir -p "$state/tls" && chmod 0700 "$state/tls"
    if [[ $name =~ ^[0-9.]+$ || $name == *:* ]]; then san="IP:$name"; else san="DNS:$name"; fi
    openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 30 \
      -subj "/CN=$name" -addext "subjectAltName=$san" -addext basicConstraints=critical,CA:FALSE \
      -addext extendedKeyUsage=serverAuth -keyout "$key" -out "$cert" 2>/dev/null
    echo "$name" >"$state/tls/name"
  fi
fi
for f in "$state/conf/apache.conf:$root/web/conf/apache.conf.in" "$state/php/php.ini:$root/web/conf/php.ini.in"; do
  sed -e "s|@STATE@|$state|g" -e "s|@PORT@|$port|g" -e "s|@USER@|$user|g" -e "s|@GROUP@|$group|g" \
      -e "s|@WEB@|$root/web|g" -e "s|@MODULE@|$module|g" -e "s|@GENERATED@|$build/web/lib|g" -e "s|@MODE@|$mode|" -e "s|@AUDIT_ENV@|$audit_env|" \
      -e "s|@ADDRESS@|$address|" -e "s|@NAME@|$name|" -e "s|@TLS_PORT@|$tls_port|" \
      -e "s|@HTTP_PORT@|$http_port|" -e "s|@CERT@|$cert|" -e "s|@KEY@|$key|" \
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
export ARRAYCONF=${ARRAYCONF:-$build/conf/arrayconf}  # the export page runs this build's arrayconf
# The module's process registry keys on files of this GUI's own.
export ARRAYRPC_IPC_DIR=${ARRAYRPC_IPC_DIR:-$state/run}
touch "$ARRAYCORE_SIM_STATE" "$ARRAYCORE_SIM_STATE.lock" 2>/dev/null || true
[ -s "$ARRAYCORE_SIM_STATE" ] || "$build/sim/arraysim" reset >/dev/null
chown "$user:$group" "$ARRAYCORE_SIM_STATE" "$ARRAYCORE_SIM_STATE.lock" 2>/dev/null || true
stop >/dev/null
/usr/sbin/apache2 -f "$state/conf/apache.conf" -k start
if [ "$daemon" != none ]; then
  # As the workers' account, which owns the data directory and the
  # controller state: the event store it writes is cleared from the GUI.
  printf '%s\n%s\n%s\n' "$daemon" "$user" "$ARRAY_DB_DIR" >"$state/run/daemon"
  setpriv --reuid="$user" --regid="$group" --init-groups "$daemon" start </dev/null \
    >>"$state/logs/arraywatch.out" 2>&1
  for _ in $(seq 1 50); do [ -s "$ARRAY_DB_DIR/arraywatch.pid" ] && break; sleep 0.1; done
  if [ -s "$ARRAY_DB_DIR/arraywatch.pid" ]; then
    echo "daemon $(basename "$daemon") running (pid $(cat "$ARRAY_DB_DIR/arraywatch.pid"), log in $ARRAY_DB_DIR/arraywatch.log)"
  else
    echo "gui.sh: the daemon did not start; see $ARRAY_DB_DIR/arraywatch.log" >&2
  fi
fi
if [ -n "$tls" ]; then
  echo "GUI at https://$name:$tls_port/Vesta/ (state in $state)"
else
  echo "GUI at http://127.0.0.1:$port/Vesta/ (state in $state)"
fi
if [ "$detach" = "-d" ]; then
  exit 0
fi
trap 'stop; exit 0' INT TERM
echo "Ctrl-C stops it."
while [ -f "$state/run/apache.pid" ]; do sleep 1; done
