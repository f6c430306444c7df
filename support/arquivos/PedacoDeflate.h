#pragma once
// One piece of a deflate stream compressed apart from the others, so that pieces
// can be made on several cores and laid end to end into one stream.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

struct libdeflate_compressor;
struct z_stream_s;

// Input bytes per piece: small enough that a few pieces per core in flight keep
// memory low, large enough that what a piece loses by starting anew is noise.
inline constexpr qsizetype kTamanhoPedaco = 1 << 20;
// How far back deflate can refer: the history a piece may start from.
inline constexpr qsizetype kJanelaDeflate = 32 * 1024;
// The head of each piece that both compressors try before one is chosen for it.
inline constexpr qsizetype kAmostra = 32 * 1024;

enum class Compressor { Libdeflate, Zlib };

struct PedacoDeflate {
    QByteArray bytes;  // raw deflate blocks; empty on failure
    QString erro;      // why the piece could not be made
    Compressor compressor = Compressor::Libdeflate;
};

// Compresses pieces with whichever of two compressors makes the head of the piece
// smaller; neither is as small as zip's level 6 on every backup, and together
// they are smaller on every backup measured and take under half its time:
// - libdeflate level 6, several times faster than zlib, and far smaller on
//   records that repeat (most of a gbak backup). It always ends its output with
//   a final block and takes no history, so its piece stands alone, and is made
//   joinable: zlib's inflate walks the piece block by block (checking on the way
//   that it inflates back to the input) to find the final block's header, whose
//   final bit is cleared, and an empty stored block brings the stream to a byte
//   boundary where the next piece can begin.
// - zlib level 5, filtered (matches of up to 5 bytes give way to literals), with
//   hash chains cut to 16 links, starting from the previous 32 KiB as its
//   dictionary: smaller where records hold random text (identifiers, hashes),
//   where libdeflate's short matches cost more than they save. A piece that is
//   not the last ends with a sync flush, the same empty stored block (and one
//   more stands after the head that was tried).
// One per thread.
class CompressorPedacos {
public:
    CompressorPedacos();
    ~CompressorPedacos();
    CompressorPedacos(const CompressorPedacos&) = delete;
    CompressorPedacos& operator=(const CompressorPedacos&) = delete;

    // `anterior`: the input just before `dados` (its last kJanelaDeflate bytes
    // are used). `ultimo`: the piece ends the stream.
    PedacoDeflate Comprime(QByteArrayView anterior, QByteArrayView dados, bool ultimo);
    // The same with the compressor chosen by the caller instead of by the trial
    // (nullopt: by the trial).
    PedacoDeflate Comprime(QByteArrayView anterior, QByteArrayView dados, bool ultimo,
                           std::optional<Compressor> escolhido);

private:
    PedacoDeflate ComLibdeflate(QByteArrayView dados, bool ultimo);
    qsizetype TamanhoLibdeflate(QByteArrayView dados);
    bool PreparaZlib(QByteArrayView anterior);
    // Feeds `entrada` to zlib with `modo`, appending to `saida` from `feitos`.
    bool Deflate(QByteArray& saida, qsizetype& feitos, QByteArrayView entrada, int modo);

    libdeflate_compressor* libdeflate_ = nullptr;
    z_stream_s* zlib_ = nullptr;
    z_stream_s* inflador_ = nullptr;
    QByteArray rascunho_;  // trial output, and inflated bytes being checked
};
