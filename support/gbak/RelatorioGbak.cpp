#include "gbak/RelatorioGbak.h"

#include "plataforma/Controles.h"
#include "plataforma/Erro.h"
#include "plataforma/Pausa.h"
#include "plataforma/Plataforma.h"

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

namespace {

// Only a to z are raised: the report's other bytes stay as they are.
QByteArray Maiusculas(QByteArrayView texto)
{
    QByteArray m = texto.toByteArray();
    for (char& c : m)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return m;
}

bool ComecaComErro(QByteArrayView linha)
{
    linha = linha.trimmed();
    return linha.startsWith("ERROR") && linha.sliced(5).trimmed().startsWith(':');
}

bool LinhaDeErro(QByteArrayView linha)
{
    const QByteArray m = Maiusculas(linha.trimmed());
    if (m.contains("EXITING BEFORE COMPLETION DUE TO ERRORS"))
        return true;
    if (m.startsWith("GBAK:"))
        return ComecaComErro(QByteArrayView(m).sliced(5));
    return ComecaComErro(m);
}

}

bool RelatorioTemErro(const QByteArray& texto)
{
    for (const QByteArray& linha : texto.split('\n'))
        if (LinhaDeErro(linha))
            return true;
    return false;
}

QString FalhaDoGbak(int saida)
{
    if (saida == 0)
        return {};
    if (saida == ProcessoInterrompido)
        return QStringLiteral("O gbak terminou de forma anormal.");
    return QStringLiteral("O gbak terminou com o código de erro %1.").arg(saida);
}
