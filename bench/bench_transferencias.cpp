// Drives the off-site transfers by hand for the benchmark script:
//   bench_transferencias ftp HOST PORT USER PASSWORD FILE [ativo]
//   bench_transferencias email HOST PORT FILE
//   bench_transferencias compor FILE OUT   (the e-mail exactly as it would be sent)
// Prints the status text and the wall time; the progress callback builds the
// estimate line as the runner would, so its cost is part of the figure.
#include "transferencias/ComposicaoEmail.h"
#include "transferencias/EnvioEmail.h"
#include "transferencias/EnvioFtp.h"
#include "transferencias/Previsao.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>

namespace {
Progresso Estimativa(QString* ultima)
{
    const QDateTime inicio = QDateTime::currentDateTime();
    return [inicio, ultima](qint64 enviado, qint64 total) {
        *ultima = Previsao(QStringLiteral("KB"), inicio, static_cast<double>(enviado / 1024),
                           static_cast<double>(total / 1024));
    };
}

int Compor(const QString& arquivo, const QString& saida)
{
    ComposicaoEmail m({QStringLiteral("backup@empresa.com.br"), QStringLiteral("suporte@cliente.com.br"),
                       QStringLiteral("Backup"), arquivo, {}});
    const QString erro = m.Abre();
    QFile f(saida);
    if (!erro.isEmpty() || !f.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "%s\n", qPrintable(erro.isEmpty() ? f.errorString() : erro));
        return 1;
    }
    QByteArray bloco(1 << 20, '\0');
    qint64 n;
    while ((n = m.Le(bloco.data(), bloco.size())) > 0)
        f.write(bloco.constData(), n);
    return n == 0 ? 0 : 1;
}
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    QString status, ultima;
    QElapsedTimer relogio;
    relogio.start();
    if (a.size() >= 7 && a[1] == QLatin1String("ftp")) {
        PedidoFtp p;
        p.host = a[2];
        p.porta = a[3].toInt();
        p.usuario = a[4];
        p.senha = a[5].toLocal8Bit();
        p.arquivo = a[6];
        p.ativo = a.size() > 7 && a[7] == QLatin1String("ativo");
        p.progresso = Estimativa(&ultima);
        status = EnviaFtp(p);
    }
    else if (a.size() == 5 && a[1] == QLatin1String("email")) {
        PedidoEmail p;
        p.servidor = a[2];
        p.porta = a[3].toInt();
        p.autentica = false;
        p.remetente = QStringLiteral("backup@empresa.com.br");
        p.destinatario = QStringLiteral("suporte@cliente.com.br");
        p.assunto = QStringLiteral("Backup");
        p.arquivo = a[4];
        p.progresso = Estimativa(&ultima);
        status = EnviaEmail(p);
    }
    else if (a.size() == 4 && a[1] == QLatin1String("compor")) {
        return Compor(a[2], a[3]);
    }
    else {
        std::fprintf(stderr, "uso: %s ftp HOST PORTA USUARIO SENHA ARQUIVO [ativo] | email HOST PORTA ARQUIVO | "
                             "compor ARQUIVO SAIDA\n", argv[0]);
        return 2;
    }
    std::printf("%s\n%s\nsegundos %.3f\n", qPrintable(status), qPrintable(ultima), relogio.elapsed() / 1000.0);
    return status.endsWith(QLatin1String(" OK")) ? 0 : 1;
}
