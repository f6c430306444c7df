#include "core/ArquivoZip.h"

#include "plataforma/TextoLocal.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <zip.h>

#include <memory>

namespace {

struct FechaZip {
    void operator()(zip_t* za) const { zip_discard(za); }  // read only: nothing to write back
};
struct FechaEntrada {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};

QString NomeBase(const QString& nomeGuardado)
{
    const qsizetype barra =
        std::max(nomeGuardado.lastIndexOf(QLatin1Char('/')), nomeGuardado.lastIndexOf(QLatin1Char('\\')));
    QString nome = nomeGuardado.mid(barra + 1);
    // A drive letter ("C:x") would name another place on Windows.
    if (nome.size() >= 2 && nome[1] == QLatin1Char(':'))
        nome = nome.mid(2);
    if (nome == QLatin1String(".") || nome == QLatin1String(".."))
        return {};
    return nome;
}

QString Falha(const QString& arquivoZip, const QString& motivo)
{
    return QStringLiteral("Não foi possível descompactar %1: %2").arg(arquivoZip, motivo);
}

}  // namespace

bool EhArquivoZip(const QString& arquivo)
{
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray inicio = f.read(4);
    return inicio == QByteArrayLiteral("PK\x03\x04") || inicio == QByteArrayLiteral("PK\x05\x06");
}

void LimpaPasta(const QString& pasta)
{
    QDirIterator it(pasta, QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        const QString caminho = it.next();
        if (!QFileInfo(caminho).isDir())
            QFile::remove(caminho);
    }
}

Extracao ExtraiArquivo(const QString& arquivoZip, const QString& pasta)
{
    Extracao r;
    int codigo = 0;
    const std::unique_ptr<zip_t, FechaZip> za(zip_open(QFile::encodeName(arquivoZip).constData(), ZIP_RDONLY, &codigo));
    if (!za) {
        zip_error_t erro;
        zip_error_init_with_code(&erro, codigo);
        r.erro = Falha(arquivoZip, DeTextoLocal(zip_error_strerror(&erro)));
        zip_error_fini(&erro);
        return r;
    }
    if (!QDir().mkpath(pasta)) {
        r.erro = Falha(arquivoZip, QStringLiteral("a pasta %1 não pode ser criada.").arg(pasta));
        return r;
    }
    const zip_int64_t entradas = zip_get_num_entries(za.get(), 0);
    for (zip_int64_t i = 0; i < entradas; ++i) {
        const char* guardado = zip_get_name(za.get(), static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS);
        if (!guardado)
            continue;
        const QString nome = NomeBase(QString::fromUtf8(guardado));
        if (nome.isEmpty())  // a folder entry, or a name that is no file
            continue;
        const QString destino = QDir(pasta).filePath(nome);
        const std::unique_ptr<zip_file_t, FechaEntrada> entrada(zip_fopen_index(za.get(), static_cast<zip_uint64_t>(i), 0));
        QFile saida(destino);
        if (!entrada) {
            r.erro = Falha(arquivoZip, DeTextoLocal(zip_strerror(za.get())));
            return r;
        }
        if (!saida.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            r.erro = Falha(arquivoZip, QStringLiteral("%1 (%2)").arg(saida.errorString(), destino));
            return r;
        }
        QByteArray bloco(1 << 20, Qt::Uninitialized);
        for (;;) {
            const zip_int64_t lidos = zip_fread(entrada.get(), bloco.data(), static_cast<zip_uint64_t>(bloco.size()));
            if (lidos < 0) {
                saida.remove();
                r.erro = Falha(arquivoZip, DeTextoLocal(zip_file_strerror(entrada.get())));
                return r;
            }
            if (lidos == 0)
                break;
            if (saida.write(bloco.constData(), lidos) != lidos) {
                saida.remove();
                r.erro = Falha(arquivoZip, QStringLiteral("%1 (%2)").arg(saida.errorString(), destino));
                return r;
            }
        }
        if (!saida.flush()) {
            saida.remove();
            r.erro = Falha(arquivoZip, QStringLiteral("%1 (%2)").arg(saida.errorString(), destino));
            return r;
        }
        saida.close();
        r.arquivos << destino;
    }
    return r;
}
