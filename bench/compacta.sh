#!/bin/bash
# Compares Compacta with Info-ZIP "zip -6 -j" on the same file: wall and CPU time,
# archive sizes, ratios and Compacta's peak memory. The file itself is left alone;
# each contender works on its own copy in a scratch folder.
#
#   bench/compacta.sh FILE [BUILD_DIR]
#   bench/compacta.sh --gera MEGABYTES FILE   # writes a text-like test file
set -euo pipefail

if [[ ${1:-} == --gera ]]; then
    # Records shaped like a database dump: repeated field names and codes, varying
    # numbers, dates and words, so that deflate has real work to do.
    /usr/bin/python3 - "$2" "$3" <<'PY'
import random, sys
alvo = int(sys.argv[1]) * 1024 * 1024
rnd = random.Random(20231225)
palavras = ("cliente fornecedor pedido nota fiscal produto estoque entrada saida "
            "pagamento boleto cheque dinheiro cartao credito debito vendedor rota "
            "cidade bairro rua avenida centro norte sul leste oeste").split()
with open(sys.argv[2], "w") as f:
    escrito, n = 0, 0
    while escrito < alvo:
        n += 1
        linha = "%09d|%04d-%02d-%02d|%s %s %s|%d|%.2f|%s|%08X\n" % (
            n, rnd.randint(2015, 2024), rnd.randint(1, 12), rnd.randint(1, 28),
            rnd.choice(palavras), rnd.choice(palavras), rnd.choice(palavras),
            rnd.randint(1, 99999), rnd.random() * 10000, rnd.choice("ABCDEFGH") * rnd.randint(1, 6),
            rnd.getrandbits(32))
        f.write(linha)
        escrito += len(linha)
PY
    exit 0
fi

arquivo=$(realpath "${1:?uso: $0 ARQUIVO [PASTA_BUILD]}")
build=${2:-$(dirname "$0")/../build}
programa=$(realpath "$build/bench/bench_compacta")
[[ -x /usr/bin/time ]] || { echo "falta /usr/bin/time (pacote time)" >&2; exit 1; }

trabalho=$(mktemp -d "${TMPDIR:-/tmp}/bench-compacta.XXXXXX")
trap 'rm -rf "$trabalho"' EXIT
nome=$(basename "$arquivo")
mkdir "$trabalho/compacta" "$trabalho/zip"
cp "$arquivo" "$trabalho/compacta/$nome"
cp "$arquivo" "$trabalho/zip/$nome"
original=$(stat -c %s "$arquivo")

# Compacta: the program measures itself; /usr/bin/time adds the peak RSS as the
# kernel saw it for the whole process.
/usr/bin/time -f 'rss_time_kb=%M' -o "$trabalho/compacta.time" \
    "$programa" "$trabalho/compacta/$nome" "$trabalho/compacta/$nome.zip" > "$trabalho/compacta.out"
source "$trabalho/compacta.out"
source "$trabalho/compacta.time"
c_parede=$parede c_cpu=$cpu c_tam=$compactado

(cd "$trabalho/zip" && /usr/bin/time -f 'z_parede=%e\nz_cpu_u=%U\nz_cpu_s=%S\nz_rss_kb=%M' -o ../zip.time \
    zip -6 -j -q "$nome.zip" "$nome")
source "$trabalho/zip.time"
z_cpu=$(echo "$z_cpu_u + $z_cpu_s" | bc -l)
z_tam=$(stat -c %s "$trabalho/zip/$nome.zip")

unzip -tq "$trabalho/compacta/$nome.zip" > /dev/null || { echo "unzip -t recusou o arquivo de Compacta" >&2; exit 1; }

printf 'arquivo: %s (%d bytes)\n' "$arquivo" "$original"
printf '%-10s %10s %10s %14s %8s %10s\n' "" "parede(s)" "cpu(s)" "tamanho" "razao" "rss(KiB)"
printf '%-10s %10.2f %10.2f %14d %7.2f%% %10d\n' Compacta "$c_parede" "$c_cpu" "$c_tam" \
    "$(echo "100 * $c_tam / $original" | bc -l)" "$rss_time_kb"
printf '%-10s %10.2f %10.2f %14d %7.2f%% %10d\n' "zip -6" "$z_parede" "$z_cpu" "$z_tam" \
    "$(echo "100 * $z_tam / $original" | bc -l)" "$z_rss_kb"
printf 'Compacta/zip: tempo %.3f, tamanho %.4f\n' "$(echo "$c_parede / $z_parede" | bc -l)" \
    "$(echo "$c_tam / $z_tam" | bc -l)"
