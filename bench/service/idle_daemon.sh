#!/usr/bin/env bash
# Runs the daemon idle (no controller events, a data file without due
# schedules, no GUI listening) in a temporary data directory for a while and
# reports its CPU time, resident memory and disk writes.
#
#   idle_daemon.sh <arraywatch binary> [seconds, default 60]
#
# Target for disk writes while idle: none. "write syscalls" counts every
# write(2)-family call of the daemon (log lines included); "bytes to
# storage" is what the kernel sent to the block layer on its behalf.
set -euo pipefail
bin=$(readlink -f "$1")
secs=${2:-60}
work=$(mktemp -d /tmp/arraywatch-idle.XXXXXX)
trap 'if [ -n "${pid:-}" ] && [ -d /proc/$pid ]; then kill -TERM "$pid"; fi; rm -rf "$work"' EXIT
mkdir -p "$work/db"
export ARRAY_DB_DIR=$work/db ARRAYCORE_SIM_STATE=$work/state.json
# A port nobody listens on: the mail request fails at once.
export ARRAY_GUI_PORT=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
cat > "$work/db/db.xml" <<'XML'
<?xml version="1.0"?>
<root><BGASchedules>
<schedule><index>1</index><settingType>1</settingType><status>2</status><settingTime>0300</settingTime><settingDate>1</settingDate><startTime>20200101</startTime></schedule>
</BGASchedules></root>
XML

"$bin" start
for _ in $(seq 50); do [ -s "$work/db/arraywatch.pid" ] && break; sleep 0.1; done
pid=$(cat "$work/db/arraywatch.pid")
# Let start-up (library initialisation, first pass) settle before measuring.
sleep 2
read_io() { awk -v k="$1" '$1==k":" {print $2}' "/proc/$pid/io"; }
cpu() { awk '{ sub(/.*\) /, ""); print $12 + $13 }' "/proc/$pid/stat"; }
tck=$(getconf CLK_TCK)
cpu0=$(cpu); syscw0=$(read_io syscw); wb0=$(read_io write_bytes)
log0=$(stat -c %s "$work/db/arraywatch.log")
store_sum() { { cat "$work"/db/*.ev 2>/dev/null || true; } | md5sum; }
store0=$(store_sum)
rss_max=0
for _ in $(seq "$secs"); do
  rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")
  [ "$rss" -gt "$rss_max" ] && rss_max=$rss
  sleep 1
done
cpu1=$(cpu); syscw1=$(read_io syscw); wb1=$(read_io write_bytes)
log1=$(stat -c %s "$work/db/arraywatch.log")
store1=$(store_sum)
"$bin" stop

echo "arraywatch idle for ${secs} s"
awk -v a="$cpu0" -v b="$cpu1" -v t="$tck" -v s="$secs" \
  'BEGIN { printf "  CPU time:            %.2f s (%.3f %% of one core)\n", (b-a)/t, 100*(b-a)/t/s }'
echo "  resident memory:     ${rss_max} KiB (largest seen)"
echo "  write syscalls:      $((syscw1 - syscw0))"
echo "  bytes to storage:    $((wb1 - wb0))"
echo "  log growth:          $((log1 - log0)) bytes"
if [ "$store0" = "$store1" ]; then echo "  event store:         unchanged"; else echo "  event store:         changed"; fi
