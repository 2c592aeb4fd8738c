#!/usr/bin/env bash
# check_package.sh BUILD_DIR: builds both Debian packages of the tree into a
# scratch directory and checks them: lintian finds no error, each package
# holds the files it must, the systemd units verify. Installs nothing.
set -euo pipefail
build=$1
prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:[A-Z]*=//p' "$build/CMakeCache.txt")
if [ "$prefix" != /usr ]; then
  echo "the packages are built for /usr, but this tree installs into $prefix (a build directory" \
       "configured before /usr became the default keeps its old prefix): reconfigure it with" \
       "-DCMAKE_INSTALL_PREFIX=/usr"
  exit 1
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
(cd "$build" && cpack -G DEB -B "$scratch" >"$scratch/cpack.log") || { cat "$scratch/cpack.log"; exit 1; }
suite=$(ls "$scratch"/arraysuite_*.deb)
sim=$(ls "$scratch"/arraysuite-sim_*.deb)
status=0

# lintian warns about the unversioned sonames the maker's library fixes;
# errors fail the check.
if ! command -v lintian >/dev/null; then
  echo "lintian is missing"; exit 1
fi
lintian --tag-display-limit 0 "$suite" "$sim" >"$scratch/lintian.log" 2>&1 || true
if grep -q '^E: ' "$scratch/lintian.log"; then
  echo "lintian errors:"; grep '^E: ' "$scratch/lintian.log"; status=1
fi

libdir=$(cd "$build" && sed -n 's/^CMAKE_INSTALL_LIBDIR:[A-Z]*=//p' CMakeCache.txt)
case $libdir in /*) libdir=${libdir#/} ;; *) libdir=usr/$libdir ;; esac
suite_files=$(dpkg-deb -c "$suite" | awk '{print substr($6, 3)}')
sim_files=$(dpkg-deb -c "$sim" | awk '{print substr($6, 3)}')
expect() {  # expect PACKAGE FILE...
  local name=$1 list=$2; shift 2
  for f in "$@"; do
    grep -qx "$f" <<<"$list" || { echo "$name lacks $f"; status=1; }
  done
}
expect arraysuite "$suite_files" usr/sbin/arrayctl usr/sbin/arraywatch "$libdir/libchronicle.so" \
  etc/php/8.2/mods-available/arrayrpc.ini usr/lib/systemd/system/arraywatch.service \
  usr/share/man/man8/arrayctl.8.gz usr/share/man/man8/arraywatch.8.gz usr/share/man/man7/arrayrpc.7.gz \
  usr/share/bash-completion/completions/arrayctl usr/share/doc/arraysuite/copyright
if [ -f "$build/backend/phpdll/arrayrpc.so" ]; then
  grep -qx 'usr/lib/php/[0-9]*/arrayrpc.so' <<<"$suite_files" || { echo "arraysuite lacks the PHP module"; status=1; }
fi
if [ -x "$build/stat/arraystat" ]; then
  expect arraysuite "$suite_files" usr/bin/arraystat usr/share/man/man8/arraystat.8.gz \
    usr/lib/systemd/system/arraystat.timer usr/lib/systemd/system/arraystat-smart.timer \
    usr/lib/systemd/system/arraystat-smart.service usr/lib/nagios/plugins/check_arraysuite \
    usr/share/arraysuite/prometheus/arraystat-alerts.yml usr/share/arraysuite/grafana/arraystat-dashboard.json
  # The plugin is arraystat under another name, by a link that holds in the package.
  link=$(dpkg-deb -c "$suite" | awk '$6 == "./usr/lib/nagios/plugins/check_arraysuite" {print $8}')
  [ "$link" = ../../../bin/arraystat ] || { echo "check_arraysuite links to '$link'"; status=1; }
fi
if [ -x "$build/conf/arrayconf" ]; then
  collection=usr/share/ansible/collections/ansible_collections/korvex/arraysuite
  expect arraysuite "$suite_files" usr/bin/arrayconf $collection/galaxy.yml $collection/plugins/modules/raid_layout.py \
    $collection/plugins/modules/raid_facts.py
fi
expect arraysuite-sim "$sim_files" usr/bin/arraysim "$libdir/libarraycore.so" usr/share/man/man1/arraysim.1.gz \
  usr/share/doc/arraysuite-sim/copyright
dpkg-deb -f "$sim" Conflicts | grep -qw libarraycore || { echo "arraysuite-sim does not conflict with libarraycore"; status=1; }
if grep -q 'arrayctl' <<<"$sim_files"; then echo "arraysuite-sim holds arrayctl"; status=1; fi

# The units, verified with their programs taken from the unpacked
# packages (nothing is installed on this machine).
root=$scratch/root
mkdir -p "$scratch/units"
dpkg-deb -x "$suite" "$root"
dpkg-deb -x "$sim" "$root"
for unit in "$root"/usr/lib/systemd/system/*; do
  sed -E "s|^(Exec[A-Za-z]*=[-@+!]*)/|\1$root/|" "$unit" >"$scratch/units/$(basename "$unit")"
done
units=$(ls "$scratch"/units | wc -l)
[ "$units" -ge 1 ] || { echo "no systemd unit in the package"; status=1; }
for unit in "$scratch"/units/*; do
  if ! SYSTEMD_LOG_LEVEL=warning systemd-analyze verify --man=no "$unit" >"$scratch/verify.log" 2>&1 \
     || [ -s "$scratch/verify.log" ]; then
    echo "systemd-analyze verify $(basename "$unit"):"; cat "$scratch/verify.log"; status=1
  fi
done
exit $status
