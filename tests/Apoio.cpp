#include "Apoio.h"

#include <QDir>
#include <QFile>

QString PastaTeste(const QTemporaryDir& dir, const QString& sub)
{
    QString caminho = sub.isEmpty() ? dir.path() : dir.path() + QLatin1Char('/') + sub;
    QDir().mkpath(caminho);
    return caminho;
}

bool GravaArquivo(const QString& caminho, const QByteArray& bytes)
{
    QFile f(caminho);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(bytes) == bytes.size();
}

QByteArray LeArquivo(const QString& caminho)
{
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}
