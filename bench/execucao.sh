#!/usr/bin/env bash
# A whole backup procedure with the test restore on, against gbak backup + gbak
# restore of the same database run alone, in one run (bench_execucao); the
# database's backup is at least MEGABYTES (default 220).
#   bench/execucao.sh [MEGABYTES] [WORK_FOLDER] [ROUNDS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mb=${1:-220}
work=${2:-/tmp/vaultrun-bench}
rounds=${3:-2}
mkdir -p "$work/execucao"
chmod 755 "$work"
chown firebird:firebird "$work/execucao"
"$here/banco_grande.sh" "$mb" "$work/dados/GRANDE.FDB"
echo "load: $(uptime)"
"$here/../build/bench/bench_execucao" "$work/dados/GRANDE.FDB" "$work/execucao" "$rounds"
