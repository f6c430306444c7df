#include "gbak/ConciliacaoGbak.h"

#include "plataforma/TextoLocal.h"

#include <QHash>
#include <QStringList>

#include <optional>

namespace {

// A report line without its "gbak:" prefix and the blanks gbak indents with.
QByteArray Conteudo(QByteArray linha)
{
    linha = linha.trimmed();
    if (linha.size() >= 5 && linha.first(5).toLower() == "gbak:")
        linha = linha.sliced(5).trimmed();
    return linha;
}

bool ComecaCom(const QByteArray& linha, QByteArrayView frase)
{
    return linha.size() >= frase.size() && linha.first(frase.size()).toLower() == frase;
}

// The number of a "<n> records <verbo>" line ("1 record <verbo>" too), if the
// line is one.
std::optional<qint64> Contagem(const QByteArray& linha, QByteArrayView verbo)
{
    qsizetype i = 0;
    while (i < linha.size() && linha[i] >= '0' && linha[i] <= '9')
        ++i;
    if (i == 0 || i == linha.size() || (linha[i] != ' ' && linha[i] != '\t'))
        return std::nullopt;
    const QList<QByteArray> palavras = linha.sliced(i).simplified().toLower().split(' ');
    if (palavras.size() < 2 || (palavras[0] != "records" && palavras[0] != "record") || palavras[1] != verbo)
        return std::nullopt;
    return linha.first(i).toLongLong();
}

// The tables after `cabecalho` (lower case, with its trailing blank), each with
// the number of the last count line that follows it.
QList<ContagemTabela> Contagens(const QByteArray& relatorio, QByteArrayView cabecalho, QByteArrayView verbo)
{
    QList<ContagemTabela> tabelas;
    bool dentro = false;  // count lines belong to the last table named
    for (const QByteArray& bruta : relatorio.split('\n')) {
        const QByteArray linha = Conteudo(bruta);
        if (ComecaCom(linha, cabecalho)) {
            tabelas.append({linha.sliced(cabecalho.size()).trimmed(), 0});
            dentro = true;
        } else if (dentro) {
            if (const std::optional<qint64> n = Contagem(linha, verbo))
                tabelas.last().registros = *n;
        }
    }
    return tabelas;
}

QString Nome(const QByteArray& tabela) { return DeTextoLocal(tabela); }

QString Registros(qint64 n) { return n == 1 ? QStringLiteral("1 registro") : QStringLiteral("%1 registros").arg(n); }
QString Restaurados(qint64 n) { return n == 1 ? QStringLiteral("1 restaurado") : QStringLiteral("%1 restaurados").arg(n); }

// gbak's lines about indices it could not activate and a database it left
// offline; empty when there are none.
QString FalhaDeIndices(const QByteArray& relatorio)
{
    QStringList indices;
    bool semIndices = false;
    bool foraDeLinha = false;
    for (const QByteArray& bruta : relatorio.split('\n')) {
        const QByteArray linha = Conteudo(bruta);
        if (ComecaCom(linha, "cannot commit index ")) {
            indices.append(Nome(linha.sliced(20).trimmed()));
        } else if (const qsizetype fecha = linha.indexOf("\" failed to activate", 6);
                   ComecaCom(linha, "index \"") && fecha >= 7) {
            indices.append(Nome(linha.sliced(7, fecha - 7)));
        } else if (ComecaCom(linha, "database is not online")) {
            foraDeLinha = true;
            semIndices = semIndices || linha.toLower().contains("activate");
        } else if (ComecaCom(linha, "run gfix -online")) {
            foraDeLinha = true;
        }
    }
    indices.removeDuplicates();
    if (!indices.isEmpty() || semIndices) {
        QString m = QStringLiteral("Restauração de teste não ativou índices");
        if (!indices.isEmpty())
            m += QStringLiteral(" (%1)").arg(indices.join(QStringLiteral(", ")));
        return m + (foraDeLinha ? QStringLiteral("; a base restaurada ficou fora de linha.") : QStringLiteral("."));
    }
    if (foraDeLinha)
        return QStringLiteral("Restauração de teste deixou a base restaurada fora de linha.");
    return {};
}

}

QList<ContagemTabela> TabelasCopiadas(const QByteArray& relatorioBackup)
{
    return Contagens(relatorioBackup, "writing data for table ", "written");
}

QList<ContagemTabela> TabelasRestauradas(const QByteArray& relatorioRestauracao)
{
    return Contagens(relatorioRestauracao, "restoring data for table ", "restored");
}

QString ConfereRestauracao(const QByteArray& relatorioBackup, const QByteArray& relatorioRestauracao)
{
    if (const QString indices = FalhaDeIndices(relatorioRestauracao); !indices.isEmpty())
        return indices;

    QHash<QByteArray, qint64> restauradas;
    for (const ContagemTabela& t : TabelasRestauradas(relatorioRestauracao))
        restauradas.insert(t.tabela, t.registros);

    // Each message is filled by one arg() call, so a '%' in a table name stays text.
    QStringList divergencias;
    for (const ContagemTabela& copiada : TabelasCopiadas(relatorioBackup)) {
        const auto r = restauradas.constFind(copiada.tabela);
        if (r == restauradas.cend()) {
            // gbak lists no data for a table that has none: an empty table
            // missing from the restore report is in order.
            if (copiada.registros != 0)
                divergencias.append(QStringLiteral("Tabela %1 ausente na restauração de teste: %2 na cópia, 0 restaurados.")
                                        .arg(Nome(copiada.tabela), Registros(copiada.registros)));
        } else if (*r != copiada.registros) {
            divergencias.append(QStringLiteral("Restauração de teste divergente na tabela %1: %2 na cópia, %3.")
                                    .arg(Nome(copiada.tabela), Registros(copiada.registros), Restaurados(*r)));
        }
    }
    if (divergencias.isEmpty())
        return {};
    if (divergencias.size() == 1)
        return divergencias.first();
    const qsizetype outras = divergencias.size() - 1;
    return divergencias.first()
        + (outras == 1 ? QStringLiteral(" Mais uma tabela diverge.") : QStringLiteral(" Mais %1 tabelas divergem.").arg(outras));
}
