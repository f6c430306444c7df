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
  zlib1g-dev libdeflate-dev zip unzip pigz time bc iproute2 procps openssl curl locales
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
# A locale whose character set is not UTF-8, for the tests of the texts the
# programs write in the locale's own 8-bit set.
if ! locale -a 2>/dev/null | grep -qix 'pt_BR.iso88591'; then
  localedef -i pt_BR -f ISO-8859-1 pt_BR.ISO-8859-1
fi
