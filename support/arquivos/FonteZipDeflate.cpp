#include "arquivos/FonteZipDeflate.h"

#include "plataforma/TextoLocal.h"

#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <exception>

namespace {

// The POSIX mode of a regular file with these permissions, as libzip's own file
// source stores it in the entry's external attributes (and so as unzip restores it).
quint32 ModoPosix(QFileDevice::Permissions p)
{
    quint32 modo = 0100000;  // regular file
    const std::pair<QFileDevice::Permission, quint32> bits[] = {
        {QFileDevice::ReadOwner, 0400}, {QFileDevice::WriteOwner, 0200}, {QFileDevice::ExeOwner, 0100},
        {QFileDevice::ReadGroup, 040},  {QFileDevice::WriteGroup, 020},  {QFileDevice::ExeGroup, 010},
        {QFileDevice::ReadOther, 04},   {QFileDevice::WriteOther, 02},   {QFileDevice::ExeOther, 01}};
    for (const auto& [permissao, bit] : bits)
        if (p.testFlag(permissao))
            modo |= bit;
    return modo;
}

} // namespace

FonteZipDeflate::FonteZipDeflate(const QString& arquivo) : arquivo_(arquivo)
{
    const QFileInfo info(arquivo);
    tamanho_ = info.size();
    modificado_ = info.lastModified();
    permissoes_ = ModoPosix(info.permissions());
    zip_error_init(&erroZip_);
}

zip_source_t* FonteZipDeflate::Cria(zip_t* za) { return zip_source_function(za, &FonteZipDeflate::Comando, this); }

zip_int64_t FonteZipDeflate::Estado(zip_stat_t* st) const
{
    zip_stat_init(st);
    st->valid = ZIP_STAT_SIZE | ZIP_STAT_COMP_METHOD | ZIP_STAT_MTIME;
    st->size = static_cast<zip_uint64_t>(tamanho_);
    st->comp_method = ZIP_CM_DEFLATE;
    st->mtime = static_cast<time_t>(modificado_.toSecsSinceEpoch());
    if (completo_) {
        st->valid |= ZIP_STAT_CRC | ZIP_STAT_COMP_SIZE;
        st->crc = crc_;
        st->comp_size = static_cast<zip_uint64_t>(comprimido_);
    }
    return sizeof(zip_stat_t);
}

zip_int64_t FonteZipDeflate::Le(char* destino, zip_uint64_t maximo)
{
    zip_uint64_t copiados = 0;
    while (copiados < maximo && !completo_) {
        if (entregue_ == pedaco_.size()) {
            DeflateParalelo::Proximo proximo = fluxo_->ProximoPedaco();
            if (!proximo.erro.isEmpty()) {
                erro_ = proximo.erro;
                zip_error_set(&erroZip_, ZIP_ER_READ, 0);
                return -1;
            }
            if (proximo.fim) {
                crc_ = fluxo_->crc();
                completo_ = true;
                break;
            }
            pedaco_ = std::move(proximo.bytes);
            entregue_ = 0;
        }
        const qsizetype n = std::min<qsizetype>(pedaco_.size() - entregue_,
                                                static_cast<qsizetype>(std::min<zip_uint64_t>(maximo - copiados, 1 << 30)));
        std::memcpy(destino + copiados, pedaco_.constData() + entregue_, static_cast<size_t>(n));
        entregue_ += n;
        copiados += static_cast<zip_uint64_t>(n);
        comprimido_ += n;
    }
    return static_cast<zip_int64_t>(copiados);
}

zip_int64_t FonteZipDeflate::Comando(void* estado, void* dados, zip_uint64_t tamanho, zip_source_cmd_t comando)
{
    auto* fonte = static_cast<FonteZipDeflate*>(estado);
    switch (comando) {
    case ZIP_SOURCE_OPEN:
        // Each opening streams the file anew. Nothing may be thrown through
        // libzip, which is C: a thread that cannot start is a failure to open.
        try {
            fonte->fluxo_ = std::make_unique<DeflateParalelo>(fonte->arquivo_, fonte->tamanho_);
        } catch (const std::exception& e) {
            fonte->erro_ = QStringLiteral("não foi possível iniciar a compressão (%1)").arg(DeTextoLocal(e.what()));
            zip_error_set(&fonte->erroZip_, ZIP_ER_MEMORY, 0);
            return -1;
        }
        fonte->pedaco_.clear();
        fonte->entregue_ = 0;
        fonte->comprimido_ = 0;
        fonte->completo_ = false;
        return 0;
    case ZIP_SOURCE_READ:
        return fonte->Le(static_cast<char*>(dados), tamanho);
    case ZIP_SOURCE_CLOSE:
        fonte->fluxo_.reset();
        fonte->pedaco_.clear();
        return 0;
    case ZIP_SOURCE_STAT:
        if (tamanho < sizeof(zip_stat_t))
            return -1;
        return fonte->Estado(static_cast<zip_stat_t*>(dados));
    case ZIP_SOURCE_GET_FILE_ATTRIBUTES: {
        if (tamanho < sizeof(zip_file_attributes_t))
            return -1;
        auto* atributos = static_cast<zip_file_attributes_t*>(dados);
        atributos->valid = ZIP_FILE_ATTRIBUTES_HOST_SYSTEM | ZIP_FILE_ATTRIBUTES_EXTERNAL_FILE_ATTRIBUTES;
        atributos->host_system = ZIP_OPSYS_UNIX;
        atributos->external_file_attributes = (fonte->permissoes_ << 16) | ((fonte->permissoes_ & 0200) ? 0 : 1);
        return 0;
    }
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&fonte->erroZip_, dados, tamanho);
    case ZIP_SOURCE_FREE:
        // The object itself belongs to the caller; only the workers stop here.
        fonte->fluxo_.reset();
        zip_error_fini(&fonte->erroZip_);
        return 0;
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                              ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, ZIP_SOURCE_GET_FILE_ATTRIBUTES, -1);
    default:
        zip_error_set(&fonte->erroZip_, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
}
