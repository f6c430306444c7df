#pragma once
// A libzip source whose data is a file already deflated on every core: libzip
// stores it as it is, and keeps for itself the container (headers, ZIP64 records,
// central directory) and its writing.
#include "arquivos/DeflateParalelo.h"

#include <QDateTime>
#include <QString>

#include <memory>

#include <zip.h>

// Created and owned by its caller, who must keep it alive for as long as the
// libzip source made by Cria (until zip_close or zip_discard). Its stat tells
// libzip that the data is deflated, with the file's size up front and the CRC-32
// and compressed size once the stream has been read to its end; libzip then
// copies the data without compressing it again.
class FonteZipDeflate {
public:
    explicit FonteZipDeflate(const QString& arquivo);
    FonteZipDeflate(const FonteZipDeflate&) = delete;
    FonteZipDeflate& operator=(const FonteZipDeflate&) = delete;

    // The libzip source; null on failure, with the reason in za's error.
    zip_source_t* Cria(zip_t* za);
    // What went wrong on this side (reading or compressing the file), in words
    // clearer than the libzip error that carried it; empty if nothing did.
    const QString& erro() const { return erro_; }

private:
    static zip_int64_t Comando(void* estado, void* dados, zip_uint64_t tamanho, zip_source_cmd_t comando);
    zip_int64_t Le(char* destino, zip_uint64_t maximo);
    zip_int64_t Estado(zip_stat_t* st) const;

    const QString arquivo_;
    qint64 tamanho_ = 0;
    QDateTime modificado_;
    quint32 permissoes_ = 0;  // POSIX mode bits, as libzip's own file source records them

    std::unique_ptr<DeflateParalelo> fluxo_;
    QByteArray pedaco_;     // part of the stream not yet handed to libzip
    qsizetype entregue_ = 0;  // bytes of pedaco_ already handed over
    qint64 comprimido_ = 0;
    bool completo_ = false;   // the whole stream went out: CRC and sizes are final
    quint32 crc_ = 0;
    QString erro_;
    zip_error_t erroZip_{};
};
