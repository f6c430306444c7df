#include "transferencias/Url.h"

#include <QHostAddress>

std::optional<QByteArray> UrlServidor(const QByteArray& esquema, const QString& host, int porta)
{
    if (host.isEmpty() || porta <= 0 || porta > 65535)
        return std::nullopt;
    for (const QChar c : host)
        if (c.unicode() <= 0x20 || QStringLiteral("/\\?#@\"<>`{}|^").contains(c))
            return std::nullopt;
    QString nome = host;
    if (nome.size() > 2 && nome.startsWith(QLatin1Char('[')) && nome.endsWith(QLatin1Char(']')))
        nome = nome.mid(1, nome.size() - 2);
    if (QHostAddress(nome).protocol() == QAbstractSocket::IPv6Protocol)
        nome = QLatin1Char('[') + nome + QLatin1Char(']');
    else if (nome.contains(QLatin1Char(':')) || nome.contains(QLatin1Char('[')) || nome.contains(QLatin1Char(']')))
        return std::nullopt;
    return esquema + "://" + nome.toUtf8() + ':' + QByteArray::number(porta);
}

QByteArray CodificaCaminho(const QString& caminho)
{
    return caminho.toUtf8().toPercentEncoding("/");
}
