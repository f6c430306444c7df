// What reconciling a test restore with its backup costs, on the verbose reports
// of a database with many tables (generated in gbak's own line format): prints
// the tables, the report sizes and the milliseconds of one reconciliation.
#include "gbak/ConciliacaoGbak.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int tabelas = argc > 1 ? std::atoi(argv[1]) : 2000;
    QByteArray backup = "gbak:readied database /srv/BASE.FDB for backup\n";
    QByteArray restauracao = "gbak:opened file /srv/BASE.bkp\n";
    for (int t = 0; t < tabelas; ++t) {
        const QByteArray nome = "TABELA_" + QByteArray::number(t);
        const int registros = 37 * t;
        backup += "gbak:    writing index IDX_" + nome + "\ngbak:    writing data for table " + nome + "\n";
        restauracao += "gbak:    restoring index IDX_" + nome + "\ngbak:restoring data for table " + nome + "\n";
        for (int parcial = 10000; parcial < registros; parcial += 10000) {
            backup += "gbak:" + QByteArray::number(parcial) + " records written\n";
            restauracao += "gbak:   " + QByteArray::number(parcial) + " records restored\n";
        }
        backup += "gbak:" + QByteArray::number(registros) + " records written\n";
        restauracao += "gbak:   " + QByteArray::number(registros) + " records restored\n";
    }
    QElapsedTimer relogio;
    relogio.start();
    const QString veredicto = ConfereRestauracao(backup, restauracao);
    const qint64 ms = relogio.elapsed();
    std::printf("tabelas=%d relatorio_backup=%lld bytes relatorio_restauracao=%lld bytes ms=%lld veredicto=%s\n", tabelas,
                static_cast<long long>(backup.size()), static_cast<long long>(restauracao.size()), static_cast<long long>(ms),
                veredicto.isEmpty() ? "ok" : qPrintable(veredicto));
    return veredicto.isEmpty() ? 0 : 1;
}
