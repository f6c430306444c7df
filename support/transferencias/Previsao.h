#pragma once
// The estimate line shown under the progress bar while the archive travels to the
// FTP or mail server, and the number text it uses while still calculating.
#include <QDateTime>
#include <QString>
#include <functional>

// Where "now" comes from; tests give a fixed or stepping clock.
using Relogio = std::function<QDateTime()>;

// "Calculando - feito/total" until a rate can be measured (less than one whole
// second since `inicio`, or nothing done yet); afterwards
// "HH:MMH (restante) - taxa unidade/S - feito/total". The clock is read twice, as
// the elapsed whole seconds give the rate and the exact elapsed time the finish.
// Numbers use the default locale's decimal separator (the system's unless the
// program set another); the finish time uses the long time format of DataHora.h.
QString Previsao(const QString& unidade, const QDateTime& inicio, double feito, double total,
                 const Relogio& agora = &QDateTime::currentDateTime);

// A number as general text (15 significant digits, no group separators, no
// trailing zeros) with "." as its decimal separator whatever the locale says.
QString NumeroPonto(double valor);

// The same general text with the locale's own decimal separator.
QString NumeroGeral(double valor);
