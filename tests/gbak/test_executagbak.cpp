// The job runner against the stand-in gbak.
#include "apoio/Instalacao.h"
#include "gbak/ExecutaGbak.h"
#include "apoio/RotuloGravador.h"
#include "plataforma/Controles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The job runner: countdown while the expected time runs down, then measuring;
// the bar moves one step a second and is handed back as it was.
TEST(ExecutaGbak, ContagemRegressivaEDepoisMedicao)
{
    qputenv("GBAK_FALSO", "lento=3");
    QTemporaryDir dir;
    const ComandoGbak comando{GbakFalso(), QStringLiteral("-y %1/x.log /db %1/x.bkp").arg(dir.path()), "bluefjord"};

    const struct {
        int esperados;
        QStringList devemAparecer;
        QStringList naoDevemAparecer;
    } casos[] = {
        {10, {QStringLiteral("P - Restando: 10S"), QStringLiteral("P - Restando: 09S")}, {QStringLiteral("P - Medindo: 00S")}},
        {1, {QStringLiteral("P - Restando: 01S"), QStringLiteral("P - Medindo: 01S"), QStringLiteral("P - Medindo: 02S")}, {}},
        {0, {QStringLiteral("P - Medindo: 00S"), QStringLiteral("P - Medindo: 02S")}, {QStringLiteral("P - Restando: 00S")}},
    };
    for (const auto& c : casos) {
        RotuloGravador rotulo;
        rotulo.defineTexto(QStringLiteral("P - "));
        BarraMemoria barra;
        barra.defineVisivel(false);
        const ResultadoGbak r = ExecutaGbak(comando, c.esperados, rotulo, barra);
        const int medidos = r.segundos;
        EXPECT_EQ(r.saida, 0);
        EXPECT_GE(medidos, 3);
        EXPECT_LE(medidos, 5);
        for (const QString& t : c.devemAparecer)
            EXPECT_TRUE(rotulo.historico.contains(t)) << c.esperados << ": " << t.toStdString() << " in "
                                                      << rotulo.historico.join(QLatin1Char('|')).toStdString();
        for (const QString& t : c.naoDevemAparecer)
            EXPECT_FALSE(rotulo.historico.contains(t)) << t.toStdString();
        EXPECT_EQ(barra.maximo(), c.esperados);
        // One step a second (the last tick may race the end), never past the maximum.
        if (c.esperados == 10) {
            EXPECT_GE(barra.posicao(), medidos - 1);
            EXPECT_LE(barra.posicao(), medidos);
        } else {
            EXPECT_EQ(barra.posicao(), c.esperados);
        }
        EXPECT_FALSE(barra.visivel());
    }
    qunsetenv("GBAK_FALSO");
}

// What the job runner returns besides the time: gbak's exit status, and the
// start that never happened.
TEST(ExecutaGbak, DevolveASaidaDoGbak)
{
    QTemporaryDir dir;
    const struct {
        const char* modos;
        QString programa;
        int saida;
    } casos[] = {
        {"", GbakFalso(), 0},
        {"codigo=3", GbakFalso(), 3},
        {"morre", GbakFalso(), ProcessoInterrompido},
        {"", dir.path() + QStringLiteral("/nao-existe"), ProcessoNaoIniciado},
    };
    for (const auto& c : casos) {
        qputenv("GBAK_FALSO", c.modos);
        RotuloMemoria rotulo;
        BarraMemoria barra;
        const ComandoGbak comando{c.programa, QStringLiteral("-y %1/x.log /db %1/x.bkp").arg(dir.path()), "x"};
        EXPECT_EQ(ExecutaGbak(comando, 0, rotulo, barra).saida, c.saida) << c.modos;
    }
    qunsetenv("GBAK_FALSO");
}

}
