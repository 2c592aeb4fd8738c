#!/usr/bin/env bash
# Installs the system packages the suite builds with, when any is missing.
# Debian 12; run as root.
set -euo pipefail
pkgs=(g++ clang cmake make pkg-config file libreadline-dev libtinyxml-dev libxml2-dev
      php8.2-dev php8.2-cli nlohmann-json3-dev libgtest-dev libgmock-dev libbenchmark-dev
      python3 groff lintian prometheus ansible-core
      apache2 libapache2-mod-php8.2 chromium chromium-driver python3-selenium)
# The 32-bit x86 tree (cmake/i386.cmake): the multilib compiler and the i386
# development packages, installed beside the native ones. PHP's development
# package cannot be had for two architectures at once, so the PHP module is
# not part of that tree.
pkgs+=(g++-multilib libreadline-dev:i386 libtinyxml-dev:i386 libxml2-dev:i386
       libgtest-dev:i386 libgmock-dev:i386)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}" >/dev/null
fi
