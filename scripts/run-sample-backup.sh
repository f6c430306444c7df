#!/usr/bin/env bash
# The main job on a bare Debian 12 machine: installs what is missing, builds,
# starts a local Firebird 3 server, creates a sample database, installs Vaultrun
# with a CONFIG.ini into a scratch folder, runs one scheduled backup without a
# display and prints the run log line and the files the run made.
#   scripts/run-sample-backup.sh [SCRATCH_FOLDER]   (default /tmp/vaultrun-sample)
set -euo pipefail
cd "$(dirname "$0")/.."
scratch=${1:-/tmp/vaultrun-sample}

scripts/setup-debian.sh
scripts/build.sh
scripts/start-firebird.sh

install_dir=$scratch/instalacao
data_dir=$scratch/dados
backup_dir=$scratch/backups
mkdir -p "$scratch" "$backup_dir"
chmod 755 "$scratch"
# With the service manager the server itself writes the backup and its report.
chown firebird:firebird "$backup_dir"
[ -f "$data_dir/EXEMPLO.FDB" ] || scripts/make-sample-db.sh "$data_dir/EXEMPLO.FDB" 20000

cmake --install build --prefix "$install_dir"
printf '%s\r\n' \
  '[Sistema]' \
  "GBAK=$(command -v gbak)" \
  'Host=localhost:' \
  "Origem=$data_dir/EXEMPLO.FDB" \
  "Destino=$backup_dir/" \
  'Copias=7' \
  'Log=' 'Rede=' \
  'Restaura=1' 'Servico=1' 'Alerta=1' \
  > "$install_dir/CONFIG.ini"

before=$(mktemp)
ls -1 "$backup_dir" > "$before"
status=0
(cd "$install_dir" && env -u DISPLAY -u WAYLAND_DISPLAY ./Vaultrun) || status=$?

echo
echo "== registro.txt (last line)"
tail -n 1 "$install_dir/registro.txt"
echo "== files made by the run in $backup_dir"
comm -13 "$before" <(ls -1 "$backup_dir") | while read -r f; do ls -l "$backup_dir/$f"; done
rm -f "$before"
echo "== archive check"
for f in "$backup_dir"/*.zip; do [ -e "$f" ] && unzip -l "$f" | tail -n +1; done | tail -n 5
exit "$status"
