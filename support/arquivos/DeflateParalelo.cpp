#include "arquivos/DeflateParalelo.h"

#include <QFile>

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <new>

namespace {

// Reads exactly `bytes.size()` bytes at `posicao`; false when the file ends
// sooner or the read fails.
bool LeTrecho(QFile& arquivo, qint64 posicao, QByteArray& bytes)
{
    if (!arquivo.seek(posicao))
        return false;
    qsizetype lidos = 0;
    while (lidos < bytes.size()) {
        const qint64 n = arquivo.read(bytes.data() + lidos, bytes.size() - lidos);
        if (n <= 0)
            return false;
        lidos += static_cast<qsizetype>(n);
    }
    return true;
}

} // namespace

DeflateParalelo::DeflateParalelo(const QString& arquivo, qint64 tamanho, int trabalhadores)
    : arquivo_(arquivo), tamanho_(tamanho),
      // An empty file is still one (empty) piece: the stream needs its final block.
      pedacos_(std::max<qint64>(1, (tamanho + kTamanhoPedaco - 1) / kTamanhoPedaco))
{
    if (trabalhadores <= 0)
        trabalhadores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    trabalhadores = static_cast<int>(std::min<qint64>(trabalhadores, pedacos_));
    // Two pieces per worker: one being compressed, one done and waiting while the
    // reader catches up, so no core idles on a piece that happens to be slow.
    janela_ = 2 * static_cast<qint64>(trabalhadores);
    trabalhadores_.reserve(static_cast<size_t>(trabalhadores));
    for (int i = 0; i < trabalhadores; ++i)
        trabalhadores_.emplace_back([this] { Trabalha(); });
}

DeflateParalelo::~DeflateParalelo()
{
    {
        std::lock_guard trava(trava_);
        parar_ = true;
    }
    mudou_.notify_all();
    for (std::thread& t : trabalhadores_)
        t.join();
}

void DeflateParalelo::Falha(const QString& motivo)
{
    {
        std::lock_guard trava(trava_);
        if (erro_.isEmpty())
            erro_ = motivo;
        parar_ = true;
    }
    mudou_.notify_all();
}

void DeflateParalelo::Trabalha()
{
    // An exception leaving a thread would end the program: a worker that runs
    // out of memory fails the stream instead.
    try {
        Comprime();
    } catch (const std::bad_alloc&) {
        Falha(QStringLiteral("memória insuficiente para compactar"));
    }
}

void DeflateParalelo::Comprime()
{
    CompressorPedacos compressor;
    QFile arquivo(arquivo_);
    if (!arquivo.open(QIODevice::ReadOnly)) {
        Falha(arquivo.errorString());
        return;
    }
    QByteArray trecho;
    for (;;) {
        qint64 indice = 0;
        {
            std::unique_lock trava(trava_);
            mudou_.wait(trava, [this] {
                return parar_ || proximoATomar_ >= pedacos_ || proximoATomar_ < proximoAEntregar_ + janela_;
            });
            if (parar_ || proximoATomar_ >= pedacos_)
                return;
            indice = proximoATomar_++;
        }

        const qint64 inicio = indice * kTamanhoPedaco;
        const qint64 tamanho = std::min<qint64>(kTamanhoPedaco, tamanho_ - inicio);
        const qint64 historia = std::min<qint64>(kJanelaDeflate, inicio);
        trecho.resize(static_cast<qsizetype>(historia + tamanho));
        if (!LeTrecho(arquivo, inicio - historia, trecho)) {
            Falha(arquivo.error() != QFileDevice::NoError ? arquivo.errorString()
                                                          : QStringLiteral("o arquivo diminuiu durante a compactação"));
            return;
        }
        const QByteArrayView anterior(trecho.constData(), historia);
        const QByteArrayView dados(trecho.constData() + historia, tamanho);

        Pronto pronto;
        pronto.tamanho = tamanho;
        // libdeflate's CRC-32 uses the CPU's carry-less multiply, several times
        // faster than zlib's; the values are the same.
        pronto.crc = libdeflate_crc32(0, dados.data(), static_cast<size_t>(dados.size()));
        PedacoDeflate pedaco = compressor.Comprime(anterior, dados, indice == pedacos_ - 1);
        if (!pedaco.erro.isEmpty()) {
            Falha(pedaco.erro);
            return;
        }
        pronto.bytes = std::move(pedaco.bytes);
        {
            std::lock_guard trava(trava_);
            prontos_.emplace(indice, std::move(pronto));
        }
        mudou_.notify_all();
    }
}

DeflateParalelo::Proximo DeflateParalelo::ProximoPedaco()
{
    Pronto pronto;
    {
        std::unique_lock trava(trava_);
        if (proximoAEntregar_ >= pedacos_)
            return {QByteArray(), QString(), true};
        mudou_.wait(trava, [this] { return !erro_.isEmpty() || prontos_.contains(proximoAEntregar_); });
        if (!erro_.isEmpty())
            return {QByteArray(), erro_, false};
        auto it = prontos_.find(proximoAEntregar_);
        pronto = std::move(it->second);
        prontos_.erase(it);
        ++proximoAEntregar_;
    }
    mudou_.notify_all();
    crc_ = static_cast<quint32>(crc32_combine(crc_, pronto.crc, static_cast<z_off_t>(pronto.tamanho)));
    return {std::move(pronto.bytes), QString(), false};
}
