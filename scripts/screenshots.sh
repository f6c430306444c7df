#!/usr/bin/env bash
# Pictures of Zozedad's windows for the README, taken from the real windows on Qt's
# offscreen platform: docs/zozedad-detalhes.png, -email.png, -ftp.png and
# -recupera.png.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target ZozedadCapturas
QT_QPA_PLATFORM=offscreen build/settings/ZozedadCapturas docs
