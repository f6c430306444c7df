#!/usr/bin/env bash
# Installs everything the build, the programs and the tests need on Debian 12.
set -euo pipefail
[ "$(id -u)" = 0 ] || { echo "run as root (apt-get, Firebird server)" >&2; exit 1; }
export DEBIAN_FRONTEND=noninteractive
pkgs=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libgl-dev libzip-dev libcurl4-openssl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  firebird3.0-server firebird3.0-utils
  python3 python3-pyftpdlib python3-aiosmtpd
  zip unzip time bc iproute2 procps
  adwaita-icon-theme fonts-dejavu-core
)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi
