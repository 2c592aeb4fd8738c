#!/usr/bin/env bash
# setup.sh [build] [gui] [test] [--dry-run]: installs the system packages of
# the sets named (all three when none is), when any is missing.
#   build  building the suite and running arrayctl (scripts/run.sh)
#   gui    serving the web GUI: Apache with mod_php (scripts/gui.sh)
#   test   what only the tests need: the fuzzing compiler, GoogleTest, the
#          PHP interpreter, a browser and its driver, Prometheus, the
#          package checker, the 32-bit x86 tree; includes gui
# --dry-run prints the packages of the sets and which are missing, and
# installs nothing. Debian 12; run as root.
set -euo pipefail
build=(g++ cmake make ninja-build pkg-config libreadline-dev libtinyxml-dev libxml2-dev
       php8.2-dev nlohmann-json3-dev ccache)
gui=(apache2 libapache2-mod-php8.2 openssl)
test=(clang file libgtest-dev libgmock-dev libbenchmark-dev php8.2-cli python3 groff
      lintian prometheus prometheus-node-exporter ansible-core chromium chromium-driver python3-selenium sudo)
# The 32-bit x86 tree (cmake/i386.cmake): the multilib compiler and the i386
# development packages, installed beside the native ones. PHP's development
# package cannot be had for two architectures at once, so the PHP module is
# not part of that tree.
test+=(g++-multilib libreadline-dev:i386 libtinyxml-dev:i386 libxml2-dev:i386
       libgtest-dev:i386 libgmock-dev:i386)

dry=0
sets=()
for a in "$@"; do
  case $a in
  build | gui | test) sets+=("$a") ;;
  --dry-run) dry=1 ;;
  *) echo "usage: setup.sh [build] [gui] [test] [--dry-run]" >&2; exit 2 ;;
  esac
done
((${#sets[@]})) || sets=(build gui test)
pkgs=()
for s in "${sets[@]}"; do
  case $s in
  build) pkgs+=("${build[@]}") ;;
  gui) pkgs+=("${gui[@]}") ;;
  # The tests build the suite and drive the GUI through Apache.
  test) pkgs+=("${build[@]}" "${gui[@]}" "${test[@]}") ;;
  esac
done
mapfile -t pkgs < <(printf '%s\n' "${pkgs[@]}" | awk '!seen[$0]++')

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((dry)); then
  echo "packages (${sets[*]}): ${pkgs[*]}"
  echo "missing: ${missing[*]:-none}"
  exit 0
fi
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  if printf '%s\n' "${missing[@]}" | grep -q ':i386$'; then
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  fi
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}" >/dev/null
fi
