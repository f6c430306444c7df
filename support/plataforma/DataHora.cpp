#include "plataforma/DataHora.h"

#include <QLocale>
#include <QRegularExpression>

namespace {
QString& dataFixa()
{
    static QString f;
    return f;
}
QString& horaFixa()
{
    static QString f;
    return f;
}
}

void DefineFormatosData(const QString& dataCurta, const QString& horaLonga)
{
    dataFixa() = dataCurta;
    horaFixa() = horaLonga;
}

QString FormatoDataCurta()
{
    if (!dataFixa().isEmpty())
        return dataFixa();
    QString f = QLocale::system().dateFormat(QLocale::ShortFormat);
    if (!f.contains(QStringLiteral("yyyy")))
        f.replace(QRegularExpression(QStringLiteral("(?<!y)yy(?!y)")), QStringLiteral("yyyy"));
    return f;
}

QString FormatoHoraLonga()
{
    if (!horaFixa().isEmpty())
        return horaFixa();
    QString f = QLocale::system().timeFormat(QLocale::LongFormat);
    f.remove(QRegularExpression(QStringLiteral("\\s*t+")));
    if (!f.contains(QLatin1Char('s')))
        f += QStringLiteral(":ss");
    return f.trimmed();
}

QString FormatoC(const QDateTime& momento)
{
    const QLocale local = QLocale::system();
    QString texto = local.toString(momento.date(), FormatoDataCurta());
    if (momento.time() != QTime(0, 0))
        texto += QLatin1Char(' ') + local.toString(momento.time(), FormatoHoraLonga());
    return texto;
}
