#include "transferencias/Previsao.h"

#include "plataforma/DataHora.h"
#include "plataforma/Tempo.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <climits>
#include <cmath>

namespace {
// Real results that feed whole-number texts are kept inside the range of the
// target type: an absurd estimate shows as a large number instead of overflowing.
qint64 TruncaLimitado(double valor, double limite)
{
    if (std::isnan(valor))
        return 0;
    return static_cast<qint64>(std::trunc(std::clamp(valor, -limite, limite)));
}
}

QString NumeroGeral(double valor)
{
    QLocale local;
    local.setNumberOptions(QLocale::OmitGroupSeparator);
    QString texto = local.toString(valor, 'g', 15);
    // Exponents are written the short way ("1E15", "2,5E-7") rather than Qt's
    // "1e+15" / "2,5e-07".
    static const QRegularExpression expoente(QStringLiteral("[eE]([+-]?)0*(\\d+)$"));
    const QRegularExpressionMatch m = expoente.match(texto);
    if (m.hasMatch()) {
        const QString sinal = m.captured(1) == QLatin1String("-") ? QStringLiteral("-") : QString();
        texto = texto.left(m.capturedStart()) + QLatin1Char('E') + sinal + m.captured(2);
    }
    return texto;
}

QString NumeroPonto(double valor)
{
    return NumeroGeral(valor).replace(QLatin1Char(','), QLatin1Char('.'));
}

QString Previsao(const QString& unidade, const QDateTime& inicio, double feito, double total, const Relogio& agora)
{
    double taxa = 0;
    const qint64 segundos = std::abs(inicio.msecsTo(agora())) / 1000;
    if (segundos > 0)
        taxa = feito / static_cast<double>(segundos);
    if (!(taxa > 0) || !(feito > 0))
        return QStringLiteral("Calculando - ") + NumeroPonto(feito) + QLatin1Char('/') + NumeroPonto(total);

    const double restante = (total - feito) / taxa;
    // The finish scales the exact elapsed time (milliseconds included) by how much
    // of the whole is done; a span of a few thousand years stands for "never".
    const double decorrido = static_cast<double>(inicio.msecsTo(agora()));
    const qint64 ateFim = TruncaLimitado(decorrido * (total / feito), 1e14);
    const QDateTime fim = inicio.addMSecs(ateFim);
    const QString hora = QLocale::system().toString(fim.time(), FormatoHoraLonga()).left(5);

    return hora + QStringLiteral("H (") + FormataTempo(static_cast<int>(TruncaLimitado(restante, INT_MAX)))
        + QStringLiteral(") - ") + QString::number(TruncaLimitado(taxa, 9e18)) + QLatin1Char(' ') + unidade
        + QStringLiteral("/S - ") + NumeroGeral(feito) + QLatin1Char('/') + NumeroGeral(total);
}
