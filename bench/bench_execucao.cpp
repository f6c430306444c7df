// A whole backup procedure with the test restore on (backup, report checks, test
// restore with the archive built meanwhile, reconciliation, archive) against the
// same two gbak commands run one after the other by this program, on the same
// database, in the same run. The fixed pauses of the procedure are set to zero:
// they are waits, not work.
//   bench_execucao DATABASE WORK_FOLDER [ROUNDS]
#include "arquivos/Compacta.h"
#include "gbak/ComandoGbak.h"
#include "gbak/ExecutaOculto.h"
#include "plataforma/Controles.h"
#include "plataforma/Pausa.h"
#include "procedimento/BackupBase.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

const QByteArray Senha = "bluefjord";

double Segundos(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e9; }

// Notes when each stage of the procedure began (its first text), so the figures
// show where the time went.
class RotuloCronometrado : public RotuloMemoria {
public:
    explicit RotuloCronometrado(const QElapsedTimer& relogio) : relogio_(relogio) {}
    void defineTexto(const QString& texto) override
    {
        RotuloMemoria::defineTexto(texto);
        const QString estagio = texto.section(QStringLiteral(" - "), 0, 0);
        if (estagio != ultimo_) {
            ultimo_ = estagio;
            etapas_ += QStringLiteral("%1 @%2s; ").arg(estagio).arg(Segundos(relogio_), 0, 'f', 2);
        }
    }
    QString etapas() const { return etapas_; }

private:
    const QElapsedTimer& relogio_;
    QString ultimo_;
    QString etapas_;
};

// The command lines the procedure itself uses, with the service manager.
double GbakSozinho(const QString& argumentos)
{
    QElapsedTimer t;
    t.start();
    const int saida = ExecutaGbakOculto({QStringLiteral("/usr/bin/gbak"), argumentos, Senha});
    if (saida != 0)
        std::fprintf(stderr, "gbak %s: exit %d\n", qPrintable(argumentos), saida);
    return Segundos(t);
}

}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_execucao DATABASE WORK_FOLDER [ROUNDS]\n");
        return 2;
    }
    const QString banco = QString::fromLocal8Bit(argv[1]);
    const QString pasta = QDir(QString::fromLocal8Bit(argv[2])).absolutePath() + QLatin1Char('/');
    const int rodadas = argc > 3 ? std::atoi(argv[3]) : 2;
    DefinePausa([](int) {});

    for (int r = 1; r <= rodadas; ++r) {
        for (const QString& f : QDir(pasta).entryList(QDir::Files | QDir::Hidden))
            QFile::remove(pasta + f);

        const QString bkp = pasta + QStringLiteral("SOZINHO.bkp");
        const double backup = GbakSozinho(QStringLiteral("-v -y %1SOZINHO.log -se localhost:service_mgr %2 %3").arg(pasta, banco, bkp));
        const double restauracao = GbakSozinho(
            QStringLiteral("-r -rep -p 4096 -v -y %1SOZINHO-r.log -se localhost:service_mgr %2 %2.tst").arg(pasta, bkp));
        QElapsedTimer tc;
        tc.start();
        Compacta(bkp, bkp + QStringLiteral(".zip"));
        const double compacta = Segundos(tc);
        for (const QString& f : QDir(pasta).entryList(QDir::Files | QDir::Hidden))
            QFile::remove(pasta + f);

        MemoMemoria memo;
        BarraMemoria barra;
        QElapsedTimer t;
        RotuloCronometrado rotulo(t);
        t.start();
        const QString mensagem = BackupBase({.memo = memo,
                                             .sistema = QString(),
                                             .gbak = QStringLiteral("/usr/bin/gbak"),
                                             .senha = Senha,
                                             .host = QStringLiteral("localhost:"),
                                             .origem = banco,
                                             .arqBackup = QStringLiteral("BENCH-01-01-2026-0000.bkp"),
                                             .pastaLog = QString(),
                                             .pastaDestino = pasta,
                                             .pastaRede = QString(),
                                             .arqLog = QStringLiteral("BENCH-01-01-2026-0000.log"),
                                             .rotulo = rotulo,
                                             .barra = barra,
                                             .restaura = true,
                                             .servico = true,
                                             .compacta = true,
                                             .copias = 0});
        const double execucao = Segundos(t);
        const qint64 zip = QFileInfo(pasta + QStringLiteral("BENCH-01-01-2026-0000.bkp.zip")).size();
        std::printf("round %d: gbak backup %.2f s + gbak restore %.2f s = %.2f s; Compacta alone %.2f s; "
                    "whole procedure %.2f s (%.3fx of backup+restore); archive %lld bytes; message \"%s\"\n",
                    r, backup, restauracao, backup + restauracao, compacta, execucao, execucao / (backup + restauracao),
                    static_cast<long long>(zip), qPrintable(mensagem));
        std::printf("         stages: %s\n", qPrintable(rotulo.etapas()));
        std::fflush(stdout);
    }
    return 0;
}
