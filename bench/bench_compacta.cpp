// Packs one file with Compacta and reports what it cost, as key=value lines for
// compacta.sh. The file is consumed (Compacta deletes it), so pass a copy.
#include "arquivos/Compacta.h"
#include "plataforma/Erro.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>
#include <sys/resource.h>

namespace {
double SegundosCpu()
{
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return static_cast<double>(uso.ru_utime.tv_sec + uso.ru_stime.tv_sec)
           + static_cast<double>(uso.ru_utime.tv_usec + uso.ru_stime.tv_usec) / 1e6;
}
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "uso: %s ARQUIVO ARQUIVO.zip\n", argv[0]);
        return 2;
    }
    const QString arquivo = QString::fromLocal8Bit(argv[1]);
    const QString zip = QString::fromLocal8Bit(argv[2]);
    const qint64 original = QFileInfo(arquivo).size();

    const double cpu0 = SegundosCpu();
    QElapsedTimer relogio;
    relogio.start();
    try {
        Compacta(arquivo, zip);
    } catch (const Erro& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    const double parede = static_cast<double>(relogio.nsecsElapsed()) / 1e9;
    const double cpu = SegundosCpu() - cpu0;

    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    std::printf("original=%lld\ncompactado=%lld\nparede=%.3f\ncpu=%.3f\nrss_kb=%ld\n",
                static_cast<long long>(original), static_cast<long long>(QFileInfo(zip).size()), parede, cpu,
                uso.ru_maxrss);
    return 0;
}
