#include "arquivos/CopiaArquivo.h"

#include "plataforma/Erro.h"
#include "plataforma/TextoLocal.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

namespace {

// Qt words some refused writes (a full disk among them) as "Unknown error"; the
// system's own reason is still in errno right after the call.
QString MotivoDaEscrita(const QSaveFile& saida)
{
    if (errno != 0)
        return DeTextoLocal(std::strerror(errno));
    return saida.errorString();
}

}

void CopiaArquivo(const QString& origem, const QString& destino)
{
    auto falha = [&](const QString& motivo) {
        return Erro(QStringLiteral("Falha ao copiar %1 para %2: %3").arg(origem, destino, motivo));
    };
    QFile entrada(origem);
    if (!entrada.open(QIODevice::ReadOnly))
        throw falha(entrada.errorString());
    // QSaveFile writes beside the target and renames on commit; nothing is left
    // behind when it is dropped without a commit. Unbuffered, so a write the disk
    // refuses fails right here with the system's own reason ("No space left on
    // device"), not later in a flush that words it as an unknown error.
    QSaveFile saida(destino);
    if (!saida.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw falha(saida.errorString());
    QByteArray bloco;
    constexpr qint64 tamanhoBloco = 1 << 20;
    while (!entrada.atEnd()) {
        bloco = entrada.read(tamanhoBloco);
        if (bloco.isEmpty() && entrada.error() != QFileDevice::NoError)
            throw falha(entrada.errorString());
        errno = 0;
        if (saida.write(bloco) != bloco.size())
            throw falha(MotivoDaEscrita(saida));
    }
    if (entrada.error() != QFileDevice::NoError)
        throw falha(entrada.errorString());
    errno = 0;
    if (!saida.flush())
        throw falha(MotivoDaEscrita(saida));
    // commit() syncs the data to disk before the rename.
    errno = 0;
    if (!saida.commit())
        throw falha(MotivoDaEscrita(saida));
}
