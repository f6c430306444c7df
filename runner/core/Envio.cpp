#include "Envio.h"

#include "configuracao/Configuracao.h"

#include <climits>

PedidoFtp PedidoFtpDe(const Configuracao& cfg, const QString& arquivo)
{
    PedidoFtp p;
    p.host = cfg.FTPHost;
    p.porta = cfg.PortaFTP();
    p.usuario = cfg.FTPUser;
    p.senha = cfg.FTPPass;
    p.pasta = cfg.FTPDir;
    p.ativo = cfg.FTPAtiv;
    p.arquivo = arquivo;
    return p;
}

PedidoEmail PedidoEmailDe(const Configuracao& cfg, const QString& arquivo)
{
    PedidoEmail p;
    p.servidor = cfg.EmailSMTP;
    p.porta = cfg.PortaEmail();
    p.usuario = cfg.EmailUser;
    p.senha = cfg.EmailPass;
    p.autentica = cfg.EmailAute;
    p.remetente = cfg.EmailFrom;
    p.destinatario = cfg.EmailDest;
    p.assunto = cfg.EmailAssu;
    p.arquivo = arquivo;
    return p;
}

PassoBarra PassoDaBarra(qint64 feito, qint64 total)
{
    total = qMax<qint64>(total, 0);
    feito = qBound<qint64>(0, feito, total);
    // Halving both keeps their ratio; a 2^63 total needs at most 32 halvings.
    while (total > INT_MAX) {
        total >>= 1;
        feito >>= 1;
    }
    return {static_cast<int>(feito), static_cast<int>(total)};
}

int Percentual(qint64 feito, qint64 total)
{
    if (total <= 0)
        return 0;
    feito = qBound<qint64>(0, feito, total);
    // feito * 100 overflows only past 92 PB; there, dividing the total first.
    const qint64 p = feito <= LLONG_MAX / 100 ? feito * 100 / total : feito / (total / 100);
    return static_cast<int>(qMin<qint64>(p, 100));
}

QString LinhaPrevisao(const QDateTime& inicio, qint64 feito, qint64 total, const Relogio& agora)
{
    return QStringLiteral("Previsão: ")
        + Previsao(QStringLiteral("KB"), inicio, static_cast<double>(feito / 1024), static_cast<double>(total / 1024), agora);
}
