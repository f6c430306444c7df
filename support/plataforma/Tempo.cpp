#include "plataforma/Tempo.h"

#include <climits>

QString Zeros(const QString& texto, int largura)
{
    QString t = texto.trimmed();
    bool ok = false;
    const qlonglong valor = t.toLongLong(&ok);
    const bool negativo = ok && valor < 0;
    if (negativo)
        t = QString::number(-valor);
    if (t.size() < largura) {
        t = QString(largura - t.size(), QLatin1Char('0')) + t;
        if (negativo)
            t[0] = QLatin1Char('-');
        return t;
    }
    if (negativo)
        return QLatin1Char('-') + t.left(largura - 1);
    return t.left(largura);
}

QString FormataTempo(int segundos)
{
    if (segundos < 0)
        return QLatin1Char('-') + FormataTempo(segundos == INT_MIN ? INT_MAX : -segundos);
    // Hour and minute figures are 16-bit unsigned counts, as on the original tool.
    const unsigned horas = static_cast<quint16>(segundos / 3600);
    const int resto = segundos % 3600;
    const unsigned minutos = static_cast<quint16>(resto / 60);
    const int seg = resto % 60;
    if (horas != 0)
        return Zeros(QString::number(horas), 2) + QLatin1Char(':') + Zeros(QString::number(minutos), 2) + QLatin1Char('H');
    if (minutos != 0)
        return Zeros(QString::number(minutos), 2) + QLatin1Char(':') + Zeros(QString::number(seg), 2) + QLatin1Char('M');
    return Zeros(QString::number(seg), 2) + QLatin1Char('S');
}
