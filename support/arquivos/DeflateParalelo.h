#pragma once
// The deflate stream of a whole file, compressed on every core at once and handed
// out in order, with its CRC-32, in bounded memory.
#include "arquivos/PedacoDeflate.h"

#include <QByteArray>
#include <QString>

#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

// Workers each take the next piece of the file, read it (with the 32 KiB before
// it, the piece's dictionary) through their own handle, and compress it; pieces
// are handed out strictly in file order. A worker runs at most `janela` pieces
// ahead of the reader, so memory depends on the number of workers, never on the
// file's size. Uses no Qt object shared with other threads: it may itself run on
// any thread.
class DeflateParalelo {
public:
    // `tamanho`: the bytes of `arquivo` to compress, known beforehand; a file
    // that turns out shorter is an error. `trabalhadores` 0: one per core.
    DeflateParalelo(const QString& arquivo, qint64 tamanho, int trabalhadores = 0);
    // Stops the workers and waits for them, also when the stream was abandoned.
    ~DeflateParalelo();
    DeflateParalelo(const DeflateParalelo&) = delete;
    DeflateParalelo& operator=(const DeflateParalelo&) = delete;

    struct Proximo {
        QByteArray bytes;  // the next piece of the stream; empty at the end or on failure
        QString erro;      // set on failure
        bool fim = false;  // every piece has been handed out
    };
    // Blocks until the next piece in order is ready.
    Proximo ProximoPedaco();

    // CRC-32 of the input of the pieces handed out so far: of the whole file once
    // ProximoPedaco has said fim.
    quint32 crc() const { return crc_; }

private:
    struct Pronto {
        QByteArray bytes;
        quint32 crc = 0;
        qint64 tamanho = 0;
    };
    void Trabalha();
    void Comprime();
    void Falha(const QString& motivo);

    const QString arquivo_;
    const qint64 tamanho_;
    const qint64 pedacos_;
    qint64 janela_ = 0;

    std::mutex trava_;
    std::condition_variable mudou_;
    qint64 proximoATomar_ = 0;      // next piece a worker takes
    qint64 proximoAEntregar_ = 0;   // next piece the reader gets
    std::map<qint64, Pronto> prontos_;
    QString erro_;
    bool parar_ = false;

    quint32 crc_ = 0;  // touched by the reader only
    std::vector<std::thread> trabalhadores_;
};
