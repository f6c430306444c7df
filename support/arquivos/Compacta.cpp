#include "arquivos/Compacta.h"

#include "plataforma/Erro.h"
#include "plataforma/Plataforma.h"
#include "arquivos/FonteZipDeflate.h"
#include "plataforma/TextoLocal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <zip.h>

namespace {

QString TextoZip(zip_error_t* erro) { return DeTextoLocal(zip_error_strerror(erro)); }

// Frees the archive handle on every path out of Compacta that did not close it.
struct ZipAberto {
    zip_t* za = nullptr;
    ~ZipAberto()
    {
        if (za)
            zip_discard(za);
    }
};

} // namespace

namespace {

Erro FalhaCompactacao(const QString& arquivo, const QString& arquivoZip, const QString& motivo)
{
    return Erro(QStringLiteral("Falha ao compactar %1 em %2: %3").arg(arquivo, arquivoZip, motivo));
}

}

void Compacta(const QString& arquivo, const QString& arquivoZip)
{
    PublicaArquivo(PreparaArquivo(arquivo, arquivoZip), arquivo, arquivoZip);
}

QString PreparaArquivo(const QString& arquivo, const QString& arquivoZip)
{
    auto falha = [&](const QString& motivo) { return FalhaCompactacao(arquivo, arquivoZip, motivo); };

    // Checked before anything is created: libzip would only notice inside
    // zip_close, and would word a missing file as a generic open failure.
    {
        QFile origem(arquivo);
        if (!QFileInfo(arquivo).isFile())
            throw falha(QFileInfo::exists(arquivo) ? QStringLiteral("não é um arquivo comum")
                                                   : DeTextoLocal(std::strerror(ENOENT)));
        if (!origem.open(QIODevice::ReadOnly))
            throw falha(origem.errorString());
    }

    const QFileInfo destino(arquivoZip);
    const QString pasta = destino.absolutePath();

    // The entry's data comes already deflated on every core; libzip only frames
    // it. Declared before the archive handle, so it outlives the source libzip
    // makes of it.
    FonteZipDeflate deflate(arquivo);

    // libzip itself writes to "<name>.XXXXXX" and renames onto <name>, but it never
    // flushes to disk. So it builds a hidden temporary archive (ignored by pruning
    // if a crash leaves it behind), which is flushed and only then given its name.
    ZipAberto arq;
    QString temporario;
    for (int tentativa = 0; !arq.za; ++tentativa) {
        temporario = pasta + QStringLiteral("/.") + destino.fileName() + QLatin1Char('.')
                     + QString::number(QRandomGenerator::global()->generate(), 36);
        int codigo = 0;
        arq.za = zip_open(QFile::encodeName(temporario).constData(), ZIP_CREATE | ZIP_EXCL, &codigo);
        if (!arq.za && (codigo != ZIP_ER_EXISTS || tentativa >= 10)) {
            zip_error_t erro;
            zip_error_init_with_code(&erro, codigo);
            const QString motivo = TextoZip(&erro);
            zip_error_fini(&erro);
            throw falha(motivo);
        }
    }

    const QByteArray nomeEntrada = QFileInfo(arquivo).fileName().toUtf8();
    zip_source_t* fonte = deflate.Cria(arq.za);
    if (!fonte)
        throw falha(TextoZip(zip_get_error(arq.za)));
    if (zip_file_add(arq.za, nomeEntrada.constData(), fonte, ZIP_FL_ENC_UTF_8) < 0) {
        zip_source_free(fonte);
        throw falha(TextoZip(zip_get_error(arq.za)));
    }

    // zip_close pulls the compressed stream into the temporary archive. On
    // failure libzip removes its own partial output and the handle stays ours to
    // discard; on success the handle is gone. A failure on the reading side is
    // worded by the source, libzip would only say "read error".
    if (zip_close(arq.za) != 0)
        throw falha(!deflate.erro().isEmpty() ? deflate.erro() : TextoZip(zip_get_error(arq.za)));
    arq.za = nullptr;

    // Without this a crash right after the rename could leave an archive of the
    // right name with blocks that never reached the disk.
    errno = 0;
    if (!SincronizaArquivo(temporario)) {
        const int codigo = errno;
        QFile::remove(temporario);
        throw falha(QStringLiteral("não foi possível gravar no disco")
                    + (codigo ? QStringLiteral(" (%1)").arg(DeTextoLocal(std::strerror(codigo))) : QString()));
    }
    return temporario;
}

void PublicaArquivo(const QString& temporario, const QString& arquivo, const QString& arquivoZip)
{
    auto falha = [&](const QString& motivo) { return FalhaCompactacao(arquivo, arquivoZip, motivo); };
    const QString pasta = QFileInfo(arquivoZip).absolutePath();
    // std::filesystem::rename replaces an existing archive in one step, which
    // QFile::rename refuses to do.
    std::error_code ec;
    std::filesystem::rename(QFile::encodeName(temporario).toStdString(),
                            QFile::encodeName(arquivoZip).toStdString(), ec);
    if (ec) {
        QFile::remove(temporario);
        throw falha(DeTextoLocal(QByteArray::fromStdString(ec.message())));
    }
    // Makes the rename itself durable where the platform can sync a folder; where
    // it cannot, the archive's contents are already safe, so that is no failure.
    SincronizaArquivo(pasta);

    QFile origem(arquivo);
    if (!origem.remove())
        throw Erro(QStringLiteral("Arquivo %1 compactado em %2, mas falha ao apagá-lo: %3")
                       .arg(arquivo, arquivoZip, origem.errorString()));
}
