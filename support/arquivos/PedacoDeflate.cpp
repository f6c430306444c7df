#include "PedacoDeflate.h"

#include <zlib.h>

CompressorPedacos::CompressorPedacos(NivelDeflate nivel) : nivel_(nivel), z_(new z_stream{})
{
    // Raw deflate: the ZIP container carries its own sizes and CRC-32.
    if (deflateInit2(z_, nivel.nivel, Z_DEFLATED, -MAX_WBITS, 8,
                     nivel.filtrado ? Z_FILTERED : Z_DEFAULT_STRATEGY) != Z_OK) {
        delete z_;
        z_ = nullptr;
    }
}

CompressorPedacos::~CompressorPedacos()
{
    if (z_) {
        deflateEnd(z_);
        delete z_;
    }
}

PedacoDeflate CompressorPedacos::Comprime(QByteArrayView anterior, QByteArrayView dados, bool ultimo)
{
    PedacoDeflate pedaco;
    auto falha = [&pedaco](const QString& motivo) {
        pedaco.bytes.clear();
        pedaco.erro = motivo;
        return pedaco;
    };
    if (!z_)
        return falha(QStringLiteral("memória insuficiente para o compressor"));
    z_stream& z = *z_;
    // deflateReset reloads the level's own table, so the tuning goes after it.
    if (deflateReset(&z) != Z_OK
        || (nivel_.cadeia > 0
            && deflateTune(&z, nivel_.boa, nivel_.preguica, nivel_.suficiente, nivel_.cadeia) != Z_OK))
        return falha(QStringLiteral("falha interna do compressor"));
    const QByteArrayView dicionario = anterior.last(qMin(anterior.size(), kJanelaDeflate));
    if (!dicionario.isEmpty()
        && deflateSetDictionary(&z, reinterpret_cast<const Bytef*>(dicionario.data()),
                                static_cast<uInt>(dicionario.size()))
               != Z_OK)
        return falha(QStringLiteral("falha interna do compressor"));

    // deflateBound covers a finished stream; the sync flush adds at most a few
    // bytes more, and the loop grows the buffer should it ever need to.
    pedaco.bytes.resize(static_cast<qsizetype>(deflateBound(&z, static_cast<uLong>(dados.size()))) + 64);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(dados.data()));
    z.avail_in = static_cast<uInt>(dados.size());
    const int modo = ultimo ? Z_FINISH : Z_SYNC_FLUSH;
    qsizetype feitos = 0;
    for (;;) {
        z.next_out = reinterpret_cast<Bytef*>(pedaco.bytes.data() + feitos);
        z.avail_out = static_cast<uInt>(pedaco.bytes.size() - feitos);
        const int rc = deflate(&z, modo);
        feitos = pedaco.bytes.size() - static_cast<qsizetype>(z.avail_out);
        if (rc == Z_STREAM_ERROR)
            return falha(QStringLiteral("falha interna do compressor"));
        // Done once every input byte is in and, for a flush, zlib left room to
        // spare (a full buffer may still hide pending output).
        if (ultimo ? rc == Z_STREAM_END : (z.avail_in == 0 && z.avail_out > 0))
            break;
        pedaco.bytes.resize(pedaco.bytes.size() * 2);
    }
    pedaco.bytes.resize(feitos);
    return pedaco;
}
