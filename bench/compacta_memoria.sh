#!/bin/bash
# Peak memory of Compacta on a backup past 4 GiB: it must stay flat in the file's
# size. The input is a sparse file in /dev/shm (holes cost no memory and read at
# memory speed), so the figure is Compacta's own.
#
#   bench/compacta_memoria.sh [BUILD_DIR] [MEGABYTES]
set -euo pipefail
build=${1:-$(dirname "$0")/../build}
mb=${2:-4196}
programa=$(realpath "$build/bench/bench_compacta")
trabalho=$(mktemp -d /dev/shm/bench-memoria.XXXXXX)
saida=$(mktemp -d "${TMPDIR:-/tmp}/bench-memoria.XXXXXX")
trap 'rm -rf "$trabalho" "$saida"' EXIT
truncate -s "${mb}M" "$trabalho/GRANDE.bkp"
uptime
/usr/bin/time -f 'pico_rss_kib=%M parede_s=%e cpu_s=%U+%S' "$programa" "$trabalho/GRANDE.bkp" "$saida/GRANDE.bkp.zip"
