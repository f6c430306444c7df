// The systemd units installed with the runner: valid as systemd reads them, and
// pointing at the program in the install folder, wherever that is.
#include "apoio/Arquivos.h"
#include "apoio/Processos.h"
#include "apoio/Texto.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

TEST(Agendamento, UnidadesSystemdValidas)
{
    const QString analisador = QStandardPaths::findExecutable(QStringLiteral("systemd-analyze"));
    if (analisador.isEmpty())
        GTEST_SKIP() << "systemd-analyze is not available here";
    QTemporaryDir dir;
    const QString pasta = PastaTeste(dir, QStringLiteral("Vaultrun instalado"));
    QByteArray saida;
    ASSERT_EQ(Executa(QStringLiteral("cmake"), {QStringLiteral("--install"), QStringLiteral(VAULTRUN_BUILD_DIR),
                                                QStringLiteral("--prefix"), pasta},
                      &saida),
              0)
        << saida.constData();
    const QString servico = pasta + QStringLiteral("/vaultrun.service");
    const QString timer = pasta + QStringLiteral("/vaultrun.timer");
    ASSERT_TRUE(QFileInfo(pasta + QStringLiteral("/Vaultrun")).isExecutable());
    const QByteArray unidade = LeArquivo(servico);
    EXPECT_TRUE(unidade.contains("\nType=oneshot\n")) << unidade.constData();
    EXPECT_TRUE(unidade.contains("\nExecStart=\"" + pasta.toUtf8() + "/Vaultrun\"\n")) << unidade.constData();
    EXPECT_TRUE(unidade.contains("\nWorkingDirectory=" + pasta.toUtf8() + "\n")) << unidade.constData();
    EXPECT_TRUE(LeArquivo(timer).contains("\nPersistent=true\n"));

    EXPECT_EQ(Executa(analisador, {QStringLiteral("verify"), servico, timer}, &saida), 0) << saida.constData();
    EXPECT_FALSE(saida.contains("nvalid")) << saida.constData();
}

}
