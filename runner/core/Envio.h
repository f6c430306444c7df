#pragma once
// What the runner's two transfer stages need without a window: the requests built
// from the settings, the bar's steps for 64-bit byte counts, the estimate line.
#include "transferencias/EnvioEmail.h"
#include "transferencias/EnvioFtp.h"
#include "transferencias/Previsao.h"

#include <QDateTime>
#include <QString>

struct Configuracao;

// The upload of `arquivo` with the FTP account of the settings (password in clear).
PedidoFtp PedidoFtpDe(const Configuracao& cfg, const QString& arquivo);

// The e-mail of `arquivo` with the mail account of the settings.
PedidoEmail PedidoEmailDe(const Configuracao& cfg, const QString& arquivo);

// A progress bar counts in int. Byte counts above its range are shown in coarser
// steps, the same for position and maximum, so the bar still fills to the end.
struct PassoBarra {
    int posicao = 0;
    int maximo = 0;
};
PassoBarra PassoDaBarra(qint64 feito, qint64 total);

// Percent of the message sent, 0 to 100, truncated.
int Percentual(qint64 feito, qint64 total);

// "Previsão: " + the estimate in whole kilobytes.
QString LinhaPrevisao(const QDateTime& inicio, qint64 feito, qint64 total,
                      const Relogio& agora = &QDateTime::currentDateTime);
