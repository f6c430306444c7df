#!/bin/bash
# Compares Compacta with Info-ZIP "zip -6 -j" and "pigz -6" on the same file: wall and CPU time,
# archive sizes, ratios and peak memory. The file itself is left alone;
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
command -v pigz > /dev/null || { echo "falta pigz (pacote pigz)" >&2; exit 1; }

trabalho=$(mktemp -d "${TMPDIR:-/tmp}/bench-compacta.XXXXXX")
trap 'rm -rf "$trabalho"' EXIT
nome=$(basename "$arquivo")
original=$(stat -c %s "$arquivo")

# Runs one contender under /usr/bin/time on its own copy of the file (Compacta
# consumes its input) and prints a row: wall and CPU seconds, output size, its
# share of the original and the peak resident memory the kernel saw. The copy is
# made before the clock starts and sits in the page cache for every contender.
medir() {
    local rotulo=$1 saida=$2; shift 2
    local pasta=$trabalho/$rotulo
    mkdir -p "$pasta"
    cp "$arquivo" "$pasta/$nome"
    sync
    (cd "$pasta" && /usr/bin/time -f '%e %U %S %M' -o "$pasta.time" "$@" > "$pasta.out")
    local parede usuario sistema rss tamanho
    read -r parede usuario sistema rss < "$pasta.time"
    tamanho=$(stat -c %s "$pasta/$saida")
    printf '%-10s %10.2f %10.2f %14d %7.2f%% %10d\n' "$rotulo" "$parede" "$(echo "$usuario + $sistema" | bc -l)" \
        "$tamanho" "$(echo "100 * $tamanho / $original" | bc -l)" "$rss"
    echo "$parede $tamanho" > "$pasta.fig"
}

uptime
printf 'arquivo: %s (%d bytes), %d núcleos\n' "$arquivo" "$original" "$(nproc)"
printf '%-10s %10s %10s %14s %8s %10s\n' "" "parede(s)" "cpu(s)" "tamanho" "razao" "rss(KiB)"
medir Compacta "$nome.zip" "$programa" "$nome" "$nome.zip"
medir zip-6 "$nome.zip" zip -6 -j -q "$nome.zip" "$nome"
medir pigz-6 "$nome.gz" pigz -6 -k "$nome"

unzip -tq "$trabalho/Compacta/$nome.zip" > /dev/null || { echo "unzip -t recusou o arquivo de Compacta" >&2; exit 1; }
read -r c_parede c_tam < "$trabalho/Compacta.fig"
read -r z_parede z_tam < "$trabalho/zip-6.fig"
printf 'zip -6 / Compacta: tempo %.2fx; Compacta / zip -6: tamanho %.4f\n' "$(echo "$z_parede / $c_parede" | bc -l)" \
    "$(echo "$c_tam / $z_tam" | bc -l)"
uptime
