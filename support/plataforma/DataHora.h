#pragma once
// Date and time texts in the machine's regional formats.
#include <QDateTime>
#include <QString>

// The short date format with a four-digit year.
QString FormatoDataCurta();
// The long time format, with seconds and without the time zone.
QString FormatoHoraLonga();

// The "c" text: short date, a blank and the long time; the time is left out when
// the value is exactly midnight.
QString FormatoC(const QDateTime& momento);

// Fixes the two formats for the rest of the process (tests); empty texts return to
// the machine's own.
void DefineFormatosData(const QString& dataCurta, const QString& horaLonga);
