#!/usr/bin/env bash
# test-i386-root.sh [ROOT]: builds the committed tree natively inside a
# throw-away 32-bit Debian 12 root and runs every test there, the PHP module
# in a 32-bit PHP included (the multilib tree of scripts/test.sh cannot
# have it: PHP's development package exists for one architecture at a
# time). Not part of scripts/test.sh: making the root downloads about
# 400 MB and the build is a second full one. Run as root; ROOT defaults to
# /var/tmp/arraysuite-i386-root and is reused when it exists.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
target=${1:-/var/tmp/arraysuite-i386-root}
pkgs=g++,cmake,make,pkg-config,file,libreadline-dev,libtinyxml-dev,libxml2-dev,php8.2-dev,php8.2-cli
pkgs+=,nlohmann-json3-dev,libgtest-dev,libgmock-dev,python3,groff,lintian,prometheus,systemd

if [ ! -x "$target/usr/bin/php8.2" ]; then
  command -v debootstrap >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap >/dev/null
  debootstrap --arch=i386 --variant=minbase --include="$pkgs" bookworm "$target" http://deb.debian.org/debian
fi
rm -rf "$target/src" "$target/build"
mkdir "$target/src"
git -C "$root" archive HEAD | tar -x -C "$target/src"

# The terminal tests need pseudo-terminals, several tests /proc.
mounted=()
for fs in proc:proc devpts:dev/pts; do
  if ! mountpoint -q "$target/${fs#*:}"; then
    mount -t "${fs%:*}" "${fs%:*}" "$target/${fs#*:}"
    mounted+=("$target/${fs#*:}")
  fi
done
cleanup() { for m in "${mounted[@]}"; do umount "$m"; done; }
trap cleanup EXIT

chroot "$target" /bin/sh -c '
  php8.2 -r "echo \"PHP_INT_SIZE \", PHP_INT_SIZE, \"\n\";"
  cmake -S /src -B /build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
  cmake --build /build -j"$(nproc)" &&
  file /build/cli/arrayctl /build/backend/phpdll/arrayrpc.so &&
  cd /build && ctest --output-on-failure -j"$(nproc)" -LE fuzz'
