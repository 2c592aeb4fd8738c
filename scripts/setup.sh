#!/usr/bin/env bash
# Installs the system packages the suite builds with, when any is missing.
# Debian 12; run as root.
set -euo pipefail
pkgs=(g++ clang cmake make pkg-config libreadline-dev libtinyxml-dev libxml2-dev
      php8.2-dev php8.2-cli nlohmann-json3-dev libgtest-dev libgmock-dev libbenchmark-dev
      python3 groff lintian prometheus)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}" >/dev/null
fi
