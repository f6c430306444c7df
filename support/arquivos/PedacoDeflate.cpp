#include "PedacoDeflate.h"

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
    if (!libdeflate_ || !zlib_ || !inflador_)
        return Falha(QStringLiteral("memória insuficiente para o compressor"));
    const QByteArrayView amostra = dados.first(qMin(dados.size(), kAmostra));
    const qsizetype comZlib = TamanhoZlib(anterior, amostra);
    if (comZlib < 0)
        return Falha(FalhaInterna());
    return comZlib < TamanhoLibdeflate(amostra) ? ComZlib(anterior, dados, ultimo) : ComLibdeflate(dados, ultimo);
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

qsizetype CompressorPedacos::TamanhoZlib(QByteArrayView anterior, QByteArrayView dados)
{
    if (!PreparaZlib(anterior))
        return -1;
    z_stream& z = *zlib_;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(dados.data()));
    z.avail_in = static_cast<uInt>(dados.size());
    z.next_out = reinterpret_cast<Bytef*>(rascunho_.data());
    z.avail_out = static_cast<uInt>(rascunho_.size());
    return deflate(&z, Z_FINISH) == Z_STREAM_END ? static_cast<qsizetype>(z.total_out) : -1;
}

PedacoDeflate CompressorPedacos::ComZlib(QByteArrayView anterior, QByteArrayView dados, bool ultimo)
{
    PedacoDeflate pedaco;
    pedaco.compressor = Compressor::Zlib;
    if (!PreparaZlib(anterior))
        return Falha(FalhaInterna());
    z_stream& z = *zlib_;
    // deflateBound covers a finished stream; a sync flush adds a few bytes more,
    // and the loop grows the buffer should it ever need to.
    pedaco.bytes.resize(static_cast<qsizetype>(deflateBound(&z, static_cast<uLong>(dados.size()))) + 64);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(dados.data()));
    z.avail_in = static_cast<uInt>(dados.size());
    qsizetype feitos = 0;
    for (;;) {
        z.next_out = reinterpret_cast<Bytef*>(pedaco.bytes.data() + feitos);
        z.avail_out = static_cast<uInt>(pedaco.bytes.size() - feitos);
        const int rc = deflate(&z, ultimo ? Z_FINISH : Z_SYNC_FLUSH);
        feitos = pedaco.bytes.size() - static_cast<qsizetype>(z.avail_out);
        if (rc == Z_STREAM_ERROR)
            return Falha(FalhaInterna());
        // A flush is done once all input is in and zlib left room to spare (a
        // full buffer may still hide pending output).
        if (ultimo ? rc == Z_STREAM_END : (z.avail_in == 0 && z.avail_out > 0))
            break;
        pedaco.bytes.resize(pedaco.bytes.size() * 2);
    }
    pedaco.bytes.resize(feitos);
    return pedaco;
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
