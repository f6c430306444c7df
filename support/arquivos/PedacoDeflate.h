#pragma once
// One piece of a deflate stream compressed apart from the others, so that pieces
// can be made on several cores and laid end to end into one stream.
#include <QByteArray>
#include <QString>

struct z_stream_s;

// Input bytes per piece. Each piece starts from the last 32 KiB of the one before
// as its dictionary, so splitting costs only the flush at its end (a few bytes);
// small enough that a few pieces per core in flight keep memory low.
inline constexpr qsizetype kTamanhoPedaco = 1 << 20;
// How far back deflate can refer: the dictionary a piece starts from.
inline constexpr qsizetype kJanelaDeflate = 32 * 1024;

// How hard deflate works. Level 5 with the filtered strategy (matches of up to 5
// bytes are passed over in favour of literals) and its hash chains cut from 32 to
// 16 links: on gbak backups, whose records mix text with short binary fields,
// that is smaller than zip's level 6 and takes half its time per core.
// bench/compacta.sh measures it against zip -6 on a real backup.
struct NivelDeflate {
    int nivel = 5;
    bool filtrado = true;
    // deflateTune's four knobs; all zero keeps the level's own.
    int boa = 8, preguica = 16, suficiente = 32, cadeia = 16;
};

struct PedacoDeflate {
    QByteArray bytes;  // raw deflate blocks; empty on failure
    QString erro;      // why the piece could not be made
};

// Compresses pieces with zlib. A piece that is not the last ends with a sync
// flush: an empty stored block that brings the stream to a byte boundary without
// ending it, where the next piece's blocks begin. One per thread.
class CompressorPedacos {
public:
    explicit CompressorPedacos(NivelDeflate nivel = {});
    ~CompressorPedacos();
    CompressorPedacos(const CompressorPedacos&) = delete;
    CompressorPedacos& operator=(const CompressorPedacos&) = delete;

    // `anterior`: the input just before `dados` (up to kJanelaDeflate bytes are
    // used), the history that `dados` may refer to. `ultimo`: the piece ends the
    // stream.
    PedacoDeflate Comprime(QByteArrayView anterior, QByteArrayView dados, bool ultimo);

private:
    NivelDeflate nivel_;
    z_stream_s* z_ = nullptr;
};
