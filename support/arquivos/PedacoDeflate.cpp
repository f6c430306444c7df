#include "arquivos/PedacoDeflate.h"

#include <libdeflate.h>
#include <zlib.h>

#include <cstring>

namespace {

// Length fields of an empty stored block: LEN 0 and its complement.
constexpr char kComprimentosBlocoVazio[] = {0, 0, char(0xff), char(0xff)};

PedacoDeflate Falha(const QString& motivo)
{
    PedacoDeflate pedaco;
    pedaco.erro = motivo;
    return pedaco;
}

QString FalhaInterna() { return QStringLiteral("falha interna do compressor"); }

} // namespace

CompressorPedacos::CompressorPedacos()
    : libdeflate_(libdeflate_alloc_compressor(6)), zlib_(new z_stream{}), inflador_(new z_stream{}),
      rascunho_(static_cast<qsizetype>(compressBound(kAmostra)) + 64, Qt::Uninitialized)
{
    // Raw deflate: the ZIP container carries its own sizes and CRC-32.
    if (deflateInit2(zlib_, 5, Z_DEFLATED, -MAX_WBITS, 8, Z_FILTERED) != Z_OK) {
        delete zlib_;
        zlib_ = nullptr;
    }
    if (inflateInit2(inflador_, -MAX_WBITS) != Z_OK) {
        delete inflador_;
        inflador_ = nullptr;
    }
}

CompressorPedacos::~CompressorPedacos()
{
    if (libdeflate_)
        libdeflate_free_compressor(libdeflate_);
    if (zlib_) {
        deflateEnd(zlib_);
        delete zlib_;
    }
    if (inflador_) {
        inflateEnd(inflador_);
        delete inflador_;
    }
}

PedacoDeflate CompressorPedacos::Comprime(QByteArrayView anterior, QByteArrayView dados, bool ultimo)
{
    return Comprime(anterior, dados, ultimo, std::nullopt);
}

PedacoDeflate CompressorPedacos::Comprime(QByteArrayView anterior, QByteArrayView dados, bool ultimo,
                                          std::optional<Compressor> escolhido)
{
    if (!libdeflate_ || !zlib_ || !inflador_)
        return Falha(QStringLiteral("memória insuficiente para o compressor"));
    if (escolhido == Compressor::Libdeflate)
        return ComLibdeflate(dados, ultimo);

    // zlib's trial on the head is the start of its real work: flushed to a byte
    // boundary it measures what the head costs, and the rest goes on from there
    // when zlib is kept.
    PedacoDeflate pedaco;
    pedaco.compressor = Compressor::Zlib;
    if (!PreparaZlib(anterior))
        return Falha(FalhaInterna());
    // deflateBound covers a finished stream; the flushes add a few bytes more,
    // and Deflate grows the buffer should it ever need to.
    pedaco.bytes.resize(static_cast<qsizetype>(deflateBound(zlib_, static_cast<uLong>(dados.size()))) + 64);
    qsizetype feitos = 0;
    const QByteArrayView amostra = dados.first(qMin(dados.size(), kAmostra));
    if (!Deflate(pedaco.bytes, feitos, amostra, Z_SYNC_FLUSH))
        return Falha(FalhaInterna());
    if (!escolhido && feitos >= TamanhoLibdeflate(amostra))
        return ComLibdeflate(dados, ultimo);
    if (!Deflate(pedaco.bytes, feitos, dados.sliced(amostra.size()), ultimo ? Z_FINISH : Z_SYNC_FLUSH))
        return Falha(FalhaInterna());
    pedaco.bytes.resize(feitos);
    return pedaco;
}

qsizetype CompressorPedacos::TamanhoLibdeflate(QByteArrayView dados)
{
    const size_t n = libdeflate_deflate_compress(libdeflate_, dados.data(), static_cast<size_t>(dados.size()),
                                                 rascunho_.data(), static_cast<size_t>(rascunho_.size()));
    return n ? static_cast<qsizetype>(n) : rascunho_.size();
}

bool CompressorPedacos::PreparaZlib(QByteArrayView anterior)
{
    z_stream& z = *zlib_;
    const QByteArrayView dicionario = anterior.last(qMin(anterior.size(), kJanelaDeflate));
    // deflateReset reloads the level's own table, so the tuning goes after it:
    // level 5's, with chains of 16 links instead of 32.
    return deflateReset(&z) == Z_OK && deflateTune(&z, 8, 16, 32, 16) == Z_OK
           && (dicionario.isEmpty()
               || deflateSetDictionary(&z, reinterpret_cast<const Bytef*>(dicionario.data()),
                                       static_cast<uInt>(dicionario.size()))
                      == Z_OK);
}

bool CompressorPedacos::Deflate(QByteArray& saida, qsizetype& feitos, QByteArrayView entrada, int modo)
{
    z_stream& z = *zlib_;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(entrada.data()));
    z.avail_in = static_cast<uInt>(entrada.size());
    for (;;) {
        z.next_out = reinterpret_cast<Bytef*>(saida.data() + feitos);
        z.avail_out = static_cast<uInt>(saida.size() - feitos);
        const int rc = deflate(&z, modo);
        feitos = saida.size() - static_cast<qsizetype>(z.avail_out);
        if (rc == Z_STREAM_ERROR)
            return false;
        // A flush is done once all input is in and zlib left room to spare (a
        // full buffer may still hide pending output).
        if (modo == Z_FINISH ? rc == Z_STREAM_END : (z.avail_in == 0 && z.avail_out > 0))
            return true;
        saida.resize(saida.size() * 2);
    }
}

PedacoDeflate CompressorPedacos::ComLibdeflate(QByteArrayView dados, bool ultimo)
{
    PedacoDeflate pedaco;
    pedaco.compressor = Compressor::Libdeflate;
    const size_t limite = libdeflate_deflate_compress_bound(libdeflate_, static_cast<size_t>(dados.size()));
    pedaco.bytes.resize(static_cast<qsizetype>(limite) + 1 + sizeof kComprimentosBlocoVazio);
    const size_t feitos = libdeflate_deflate_compress(libdeflate_, dados.data(), static_cast<size_t>(dados.size()),
                                                      pedaco.bytes.data(), limite);
    if (feitos == 0)
        return Falha(FalhaInterna());
    pedaco.bytes.resize(static_cast<qsizetype>(feitos));

    // With Z_BLOCK inflate stops after each end-of-block code, data_type then
    // carrying 128, 64 if that block was the final one, and the count of bits it
    // holds but has not used, which places the next header (or, after the final
    // block, the padding) exactly.
    z_stream& z = *inflador_;
    inflateReset(&z);
    z.next_in = reinterpret_cast<Bytef*>(pedaco.bytes.data());
    z.avail_in = static_cast<uInt>(feitos);
    qint64 cabecalhoFinal = 0;  // bit offset of the header of the last block seen
    int bitsLivres = -1;        // padding bits after the final block
    qsizetype conferidos = 0;
    const QString naoConfere = QStringLiteral("os dados comprimidos não conferem com o original");
    for (;;) {
        z.next_out = reinterpret_cast<Bytef*>(rascunho_.data());
        z.avail_out = static_cast<uInt>(rascunho_.size());
        const int rc = inflate(&z, Z_BLOCK);
        const qsizetype saiu = rascunho_.size() - static_cast<qsizetype>(z.avail_out);
        if ((rc != Z_OK && rc != Z_STREAM_END) || saiu > dados.size() - conferidos
            || std::memcmp(rascunho_.constData(), dados.data() + conferidos, static_cast<size_t>(saiu)) != 0)
            return Falha(naoConfere);
        conferidos += saiu;
        if (rc == Z_STREAM_END)
            break;
        if (z.data_type & 128) {
            if (z.data_type & 64)
                bitsLivres = z.data_type & 7;
            else
                cabecalhoFinal = static_cast<qint64>(z.total_in) * 8 - (z.data_type & 7);
        }
    }
    if (conferidos != dados.size() || z.avail_in != 0 || bitsLivres < 0)
        return Falha(naoConfere);
    if (ultimo)
        return pedaco;

    auto* bytes = reinterpret_cast<unsigned char*>(pedaco.bytes.data());
    bytes[cabecalhoFinal >> 3] &= static_cast<unsigned char>(~(1u << (cabecalhoFinal & 7)));
    // The empty stored block's three header bits (not final, type 00) are zeros
    // laid where the final block ended; the padding after them reaches the byte
    // boundary, where its length fields go.
    bytes[feitos - 1] &= static_cast<unsigned char>((1u << (8 - bitsLivres)) - 1);
    if (bitsLivres < 3)
        pedaco.bytes.append('\0');
    pedaco.bytes.append(kComprimentosBlocoVazio, sizeof kComprimentosBlocoVazio);
    return pedaco;
}
