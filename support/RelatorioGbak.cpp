#include "RelatorioGbak.h"

#include "Controles.h"
#include "Erro.h"
#include "Pausa.h"
#include "Plataforma.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

bool AguardaArquivo(const QString& caminho, int pausas)
{
    for (int feitas = 0;; ++feitas) {
        if (QFileInfo::exists(caminho))
            return true;
        if (feitas >= pausas)
            return false;
        Pausa(1000);
    }
}

QByteArray CarregaRelatorio(Memo& memo, const QString& caminho)
{
    QFile arquivo(caminho);
    if (!QFileInfo(caminho).isFile() || !arquivo.open(QIODevice::ReadOnly))
        throw Erro(QStringLiteral("Impossível abrir arquivo %1").arg(caminho));
    memo.defineTexto(arquivo.readAll());
    return memo.texto();
}

bool RelatorioTemErro(const QByteArray& texto)
{
    // Only a to z are raised: the report's other bytes stay as they are.
    QByteArray maiusculas = texto;
    for (char& c : maiusculas)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return maiusculas.contains("ERROR");
}

QString FalhaDoGbak(int saida)
{
    if (saida == 0)
        return {};
    if (saida == ProcessoInterrompido)
        return QStringLiteral("O gbak terminou de forma anormal.");
    return QStringLiteral("O gbak terminou com o código de erro %1.").arg(saida);
}

void Bombeia()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}
