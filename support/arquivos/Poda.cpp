#include "arquivos/Poda.h"

#include "plataforma/Plataforma.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

QStringList ListaArquivos(const QString& mascara, const QString& modo)
{
    const QString normal = QDir::fromNativeSeparators(mascara);
    const qsizetype corte = normal.lastIndexOf(QLatin1Char('/'));
    // A bare pattern means the current folder. "dir//*.zip" leaves "dir/" here,
    // which QDir reads as "dir".
    const QString pasta = corte < 0 ? QStringLiteral(".") : normal.left(corte + 1);
    const QString padrao = normal.mid(corte + 1);

    // Matched here rather than through QDir's name filters: those follow the
    // platform's case rule unless told otherwise, and archives copied from other
    // systems often come as ".ZIP".
    const QRegularExpression regra(QRegularExpression::wildcardToRegularExpression(padrao),
                                   QRegularExpression::CaseInsensitiveOption);

    const bool comData = !modo.contains(QLatin1String("NOME"));
    QStringList lista;
    const QFileInfoList achados = QDir(pasta).entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QFileInfo& fi : achados) {
        const QString nome = fi.fileName();
        if (!fi.isFile() || EhOculto(fi.filePath()) || !regra.match(nome).hasMatch())
            continue;
        lista << (comData ? fi.lastModified().toLocalTime().toString(QStringLiteral("yyyyMMdd")) + QLatin1Char('=') + nome
                          : nome);
    }

    // Names differing only in case would otherwise come out in whatever order the
    // folder listing gave, and pruning would then depend on it.
    const bool crescente = modo.size() > 4 && modo.at(4) == QLatin1Char('C');
    std::sort(lista.begin(), lista.end(), [crescente](const QString& a, const QString& b) {
        int c = QString::compare(a, b, Qt::CaseInsensitive);
        if (c == 0)
            c = QString::compare(a, b, Qt::CaseSensitive);
        return crescente ? c < 0 : c > 0;
    });

    if (comData && modo.contains(QLatin1String("DATA")))
        for (QString& item : lista)
            item.remove(0, 9);
    return lista;
}

QString PadraoArquivos(const QString& nomeBanco)
{
    // Brackets are the wildcard's own; one in a database name is taken literally.
    QString nome;
    for (const QChar c : nomeBanco)
        nome += (c == QLatin1Char('[') || c == QLatin1Char(']') || c == QLatin1Char('*') || c == QLatin1Char('?'))
            ? QLatin1Char('[') + c + QLatin1Char(']')
            : QString(c);
    const QString d = QStringLiteral("[0-9]");
    return nome + QLatin1Char('-') + d + d + QLatin1Char('-') + d + d + QLatin1Char('-') + d + d + d + d
        + QLatin1Char('-') + d + d + d + d + QStringLiteral(".bkp.zip");
}

void ApagaAntigos(const QString& pasta, const QString& padrao, int copias, const QString& exceto)
{
    if (copias <= 0)
        return;
    QStringList lista = ListaArquivos(pasta + QLatin1Char('/') + padrao, QStringLiteral("DATAD"));
    lista.removeAll(exceto);
    // The newest copias - 1 stay: together with the archive just made (exceto)
    // that is copias in all.
    const QDir dir(pasta);
    for (qsizetype i = copias - 1; i < lista.size(); ++i)
        QFile::remove(dir.filePath(lista.at(i)));
}
