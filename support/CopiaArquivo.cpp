#include "CopiaArquivo.h"

#include "Erro.h"

#include <QFile>
#include <QSaveFile>

void CopiaArquivo(const QString& origem, const QString& destino)
{
    auto falha = [&](const QString& motivo) {
        return Erro(QStringLiteral("Falha ao copiar %1 para %2: %3").arg(origem, destino, motivo));
    };
    QFile entrada(origem);
    if (!entrada.open(QIODevice::ReadOnly))
        throw falha(entrada.errorString());
    // QSaveFile writes beside the target and renames on commit; nothing is left
    // behind when it is dropped without a commit.
    QSaveFile saida(destino);
    if (!saida.open(QIODevice::WriteOnly))
        throw falha(saida.errorString());
    QByteArray bloco;
    constexpr qint64 tamanhoBloco = 1 << 20;
    while (!entrada.atEnd()) {
        bloco = entrada.read(tamanhoBloco);
        if (bloco.isEmpty() && entrada.error() != QFileDevice::NoError)
            throw falha(entrada.errorString());
        if (saida.write(bloco) != bloco.size())
            throw falha(saida.errorString());
    }
    if (entrada.error() != QFileDevice::NoError)
        throw falha(entrada.errorString());
    if (!saida.flush())
        throw falha(saida.errorString());
    // commit() syncs the data to disk before the rename.
    if (!saida.commit())
        throw falha(saida.errorString());
}
