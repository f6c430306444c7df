#!/usr/bin/env bash
# CPU time and peak memory of Vaultrun while gbak works for a long time: a
# stand-in gbak that takes SECONDS (default 30) stands in for a large database.
# A waiting loop that spun would burn about one CPU second per second of wait.
#   bench/cpu_espera.sh [SECONDS] [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
seconds=${1:-30}
build=$(realpath "${2:-$here/../build}")
work=$(mktemp -d "${TMPDIR:-/tmp}/bench-espera.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/inst" "$work/destino"
cp "$build/runner/Vaultrun" "$work/inst/"
printf '%s\r\n' '[Sistema]' "GBAK=$here/../tests/gbak_falso/gbak" 'Origem=/dados/BASE.FDB' \
  "Destino=$work/destino/" 'Restaura=0' > "$work/inst/CONFIG.ini"
(cd "$work/inst" && env -u DISPLAY -u WAYLAND_DISPLAY PATH="$here/../tests/gbak_falso:$PATH" GBAK_FALSO="lento=$seconds" \
  /usr/bin/time -f 'wall_s=%e user_s=%U sys_s=%S max_rss_kb=%M' -o "$work/time" ./Vaultrun 2>/dev/null) || true
echo "gbak stand-in busy for ${seconds}s; the run also waits 5s for gbak's report by design."
echo "Vaultrun: $(cat "$work/time")"
tail -n 1 "$work/inst/registro.txt"
