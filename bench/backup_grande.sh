#!/usr/bin/env bash
# Makes a real gbak backup of at least MEGABYTES (default 220) from a generated
# database on the local Firebird server, then compares Compacta with zip -6 and pigz -6 on it
# (bench/compacta.sh) and measures the peak memory of a whole Vaultrun run that
# backs that database up, restores it as a test and compresses it.
#   bench/backup_grande.sh [MEGABYTES] [WORK_FOLDER]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mb=${1:-220}
work=${2:-/tmp/vaultrun-bench}
mkdir -p "$work/dados" "$work/destino" "$work/inst"
chmod 755 "$work"
chown firebird:firebird "$work/dados" "$work/destino"
db=$work/dados/GRANDE.FDB
bkp=$work/GRANDE.bkp

"$here/banco_grande.sh" "$mb" "$db"
[ -f "$bkp" ] || gbak -user sysdba -password bluefjord localhost:"$db" "$bkp"
echo "backup: $(stat -c %s "$bkp") bytes"
echo "== Compacta vs zip -6 and pigz -6 on the backup"
"$here/compacta.sh" "$bkp" "$here/../build"

echo "== whole headless Vaultrun run on that database (backup, test restore, compression)"
cp "$here/../build/runner/Vaultrun" "$work/inst/"
rm -f "$work/destino/"*.zip
printf '%s\r\n' '[Sistema]' 'GBAK=/usr/bin/gbak' "Origem=$db" "Destino=$work/destino/" 'Restaura=1' 'Servico=1' \
  > "$work/inst/CONFIG.ini"
(cd "$work/inst" && env -u DISPLAY -u WAYLAND_DISPLAY \
  /usr/bin/time -f 'wall_s=%e user_s=%U sys_s=%S max_rss_kb=%M' -o "$work/time" ./Vaultrun 2>/dev/null) || true
echo "Vaultrun: $(cat "$work/time")"
tail -n 1 "$work/inst/registro.txt"
ls -l "$work/destino"
