// The runner program itself, installed in a scratch folder with its CONFIG.ini and
// started without a display, as a scheduler starts it.
#include "apoio/Arquivos.h"
#include "apoio/Instalacao.h"
#include "apoio/Processos.h"
#include "apoio/Soquetes.h"
#include "apoio/Texto.h"
#include "apoio/Zip.h"
#include "plataforma/DataHora.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QThread>
#include <QRegularExpression>
#include <locale.h>
#include <gtest/gtest.h>

namespace {

// Each check before the backup, with the line it leaves; none of them starts gbak.
TEST(Vaultrun, VerificacoesAntesDoBackup)
{
    QTemporaryDir dir;
    const QString gbak = PastaGbakFalso() + QStringLiteral("/gbak");
    const QString destino = PastaTeste(dir, QStringLiteral("destino")) + QLatin1Char('/');
    const QByteArray cabecalho = "[Sistema]\r\nGBAK=" + gbak.toLocal8Bit() + "\r\n";
    const QByteArray comDestino = cabecalho + "Destino=" + destino.toLocal8Bit() + "\r\n";
    const struct {
        const char* nome;
        std::optional<QByteArray> config;  // nullopt: no CONFIG.ini at all
        QString mensagem;
    } casos[] = {
        {"sem arquivo", std::nullopt, QStringLiteral("Ferramenta para backup não localizada.")},
        {"arquivo vazio", QByteArray(), QStringLiteral("Ferramenta para backup não localizada.")},
        {"binário", QByteArray("\x00\xff\xfe[Sis\x00tema]\n\x01=\x02\r\r\n\xc3", 17), QStringLiteral("Ferramenta para backup não localizada.")},
        {"truncado", QByteArray("[Sistema\nGBAK\n===\n[Sistema]\nGBAK"), QStringLiteral("Ferramenta para backup não localizada.")},
        {"gbak inexistente", QByteArray("[Sistema]\r\nGBAK=/nao/existe/gbak\r\n"), QStringLiteral("Ferramenta para backup não localizada.")},
        {"gbak é pasta", "[Sistema]\r\nGBAK=" + dir.path().toLocal8Bit() + "\r\n", QStringLiteral("Ferramenta para backup não localizada.")},
        {"sem destino", cabecalho, QStringLiteral("Necessário informar pasta de destino.")},
        {"destino inexistente", cabecalho + "Destino=" + dir.path().toLocal8Bit() + "/nada/\r\n",
         QStringLiteral("Pasta destino não acessível.")},
        {"log sem rede", comDestino + "Log=/srv/bk/\r\n", QStringLiteral("Informações incompletas para backup em rede.")},
        {"rede sem log", comDestino + "Rede=" + destino.toLocal8Bit() + "\r\n",
         QStringLiteral("Informações incompletas para backup em rede.")},
        {"rede inacessível", comDestino + "Log=/srv/bk/\r\nRede=" + dir.path().toLocal8Bit() + "/nada/\r\n",
         QStringLiteral("Pasta da rede não está acessível.")},
    };
    for (const auto& c : casos) {
        const Instalacao inst(PastaTeste(dir, QString::fromUtf8(c.nome)));
        if (c.config)
            inst.GravaConfig(*c.config);
        QByteArray saida;
        EXPECT_EQ(inst.Executa(Instalacao::AmbienteGbakFalso(QString(), dir.path() + QStringLiteral("/args")), &saida), 1)
            << c.nome << saida.constData();
        const QStringList linhas = inst.LinhasRegistro();
        ASSERT_EQ(linhas.size(), 1) << c.nome;
        ConfereLinha(linhas.first(), QStringLiteral(" - FALHA - ") + c.mensagem);
        EXPECT_TRUE(saida.contains(c.mensagem.toLocal8Bit())) << saida.constData();
    }
    EXPECT_FALSE(QFile::exists(dir.path() + QStringLiteral("/args"))) << "no check may start gbak";
    EXPECT_EQ(ConteudoPasta(destino), QStringList());
}

TEST(Vaultrun, RegistroAcrescentaUmaLinhaPorExecucao)
{
    QTemporaryDir dir;
    const Instalacao inst(dir.path());
    GravaArquivo(inst.pasta + QStringLiteral("registro.txt"), "linha anterior\r\n");
    inst.Executa();
    inst.Executa();
    const QStringList linhas = inst.LinhasRegistro();
    ASSERT_EQ(linhas.size(), 3);
    EXPECT_EQ(linhas[0], QStringLiteral("linha anterior"));
    ConfereLinha(linhas[2], QStringLiteral(" - FALHA - Ferramenta para backup não localizada."));
}

// A whole run with the stand-in: the archive in a folder whose path holds blanks,
// quotes and shell characters, the success line, the measured durations stored.
TEST(Vaultrun, ExecucaoCompletaComCaminhosDificeis)
{
    QTemporaryDir dir;
    const Instalacao inst(PastaTeste(dir, QStringLiteral("instalação")));
    const QString destino = PastaTeste(dir, QStringLiteral("cópias 'x' ; $(touch PWNED) & `id`")) + QLatin1Char('/');
    const QString args = dir.path() + QStringLiteral("/args");
    inst.GravaConfig(ConfigFalso(destino, "Copias=2\r\nRestaura=1\r\nServico=1\r\nAlerta=1\r\n",
                                 "/dados/minha base/BASE.FDB"));
    const QDateTime antes = QDateTime::currentDateTime();
    QByteArray saida;
    ASSERT_EQ(inst.Executa(Instalacao::AmbienteGbakFalso(QString(), args), &saida), 0) << saida.constData();

    const QStringList linhas = inst.LinhasRegistro();
    ASSERT_EQ(linhas.size(), 1);
    const QString iniciado = linhas.first().mid(linhas.first().indexOf(QStringLiteral("; iniciado ")) + 11);
    ConfereLinha(linhas.first(), QStringLiteral(" - OK - Executado com sucesso; iniciado ") + iniciado);
    EXPECT_LE(qAbs(QLocale::system().toDateTime(iniciado, FormatoDataCurta() + QLatin1Char(' ') + FormatoHoraLonga()).secsTo(antes)), 60);

    const QStringList arquivos = ConteudoPasta(destino);
    ASSERT_EQ(arquivos.size(), 1) << arquivos.join(QLatin1Char(',')).toStdString();
    EXPECT_TRUE(arquivos.first().startsWith(QStringLiteral("BASE-")));
    EXPECT_TRUE(arquivos.first().endsWith(QStringLiteral(".bkp.zip")));
    EXPECT_TRUE(LeZip(destino + arquivos.first()).integro);
    EXPECT_FALSE(QFile::exists(QDir::currentPath() + QStringLiteral("/PWNED")));
    EXPECT_FALSE(QFile::exists(inst.pasta + QStringLiteral("PWNED")));

    // Both gbak calls got the paths whole.
    const QString chamadas = QString::fromUtf8(LeArquivo(args));
    EXPECT_TRUE(chamadas.contains(QStringLiteral("\n/dados/minha base/BASE.FDB\n"))) << chamadas.toStdString();
    EXPECT_EQ(chamadas.count(destino + arquivos.first().chopped(4) + QLatin1Char('\n')), 2) << chamadas.toStdString();

    const QByteArray config = LeArquivo(inst.pasta + QStringLiteral("CONFIG.ini"));
    EXPECT_TRUE(config.contains("\r\nTBckpagendadoBASE=0\r\n")) << config.constData();
    EXPECT_TRUE(config.contains("\r\nTRestagendadoBASE=0\r\n")) << config.constData();
}

// A runner installed in a scratch folder, with a destination folder beside it.
class ExecucaoFalsa : public ::testing::Test {
protected:
    QTemporaryDir dir;
    const Instalacao inst{dir.path()};
    const QString destino = PastaTeste(dir, QStringLiteral("destino")) + QLatin1Char('/');

    QByteArray Config() const { return LeArquivo(inst.pasta + QStringLiteral("CONFIG.ini")); }
};

// A slow backup and test restore are measured; the next run counts down from
// those durations.
TEST_F(ExecucaoFalsa, DuracaoMedidaViraContagemRegressiva)
{
    inst.GravaConfig(ConfigFalso(destino, "Restaura=1\r\n"));
    QByteArray primeira, segunda;
    ASSERT_EQ(inst.Executa(Instalacao::AmbienteGbakFalso(QStringLiteral("lento=3")), &primeira), 0) << primeira.constData();
    EXPECT_TRUE(primeira.contains("Cópia segurança - Medindo: 00S")) << primeira.constData();
    EXPECT_TRUE(primeira.contains("Análise cópia - Medindo: 00S")) << primeira.constData();
    const QByteArray config = Config();
    EXPECT_TRUE(config.contains("\r\nTBckpagendadoBASE=3\r\n")) << config.constData();
    EXPECT_TRUE(config.contains("\r\nTRestagendadoBASE=3\r\n")) << config.constData();

    ASSERT_EQ(inst.Executa(Instalacao::AmbienteGbakFalso(QStringLiteral("lento=1")), &segunda), 0) << segunda.constData();
    EXPECT_TRUE(segunda.contains("Cópia segurança - Restando: 03S")) << segunda.constData();
    EXPECT_TRUE(segunda.contains("Análise cópia - Restando: 03S")) << segunda.constData();
    const QByteArray depois = Config();
    EXPECT_TRUE(depois.contains("\r\nTBckpagendadoBASE=1\r\n")) << depois.constData();
    EXPECT_TRUE(depois.contains("\r\nTRestagendadoBASE=1\r\n")) << depois.constData();
}

// With the test restore off nothing is restored and no restore duration stored.
TEST_F(ExecucaoFalsa, SemTesteDeRestauracao)
{
    const QString args = dir.path() + QStringLiteral("/args");
    inst.GravaConfig(ConfigFalso(destino, "Restaura=0\r\n"));
    ASSERT_EQ(inst.Executa(Instalacao::AmbienteGbakFalso(QString(), args)), 0);
    EXPECT_FALSE(LeArquivo(args).contains("-r\n"));
    const QByteArray config = Config();
    EXPECT_TRUE(config.contains("TBckpagendadoBASE=0")) << config.constData();
    EXPECT_FALSE(config.contains("TRest")) << config.constData();
}

// A failed backup: the failure line, exit code 1, no archive, the backup and its
// report kept for inspection.
TEST_F(ExecucaoFalsa, FalhaDoGbakNoRegistro)
{
    inst.GravaConfig(ConfigFalso(destino, "Alerta=1\r\n"));
    EXPECT_EQ(inst.Executa(Instalacao::AmbienteGbakFalso(QStringLiteral("erro_log"))), 1);
    const QStringList linhas = inst.LinhasRegistro();
    ASSERT_EQ(linhas.size(), 1);
    ConfereLinha(linhas.first(), QStringLiteral(" - FALHA - Detectado erro no registro da cópia."));
    const QStringList restam = ConteudoPasta(destino);
    ASSERT_EQ(restam.size(), 2);
    EXPECT_TRUE(restam[0].endsWith(QStringLiteral(".bkp")));
    EXPECT_TRUE(restam[1].endsWith(QStringLiteral(".log")));
}

// A test restore that gbak called a success but that does not hold the data the
// backup wrote fails the run: the line names what differs, the backup stays
// uncompressed for inspection and nothing is archived.
TEST_F(ExecucaoFalsa, RestauracaoQueNaoConfereComACopiaFalha)
{
    const struct {
        const char* modos;
        QString mensagem;
    } casos[] = {
        {"contagem_divergente",
         QStringLiteral("Restauração de teste divergente na tabela CLIENTES: 25003 registros na cópia, 24999 restaurados.")},
        {"tabela_ausente", QStringLiteral("Tabela PEDIDOS ausente na restauração de teste: 40 registros na cópia, 0 restaurados.")},
        {"indices_inativos",
         QStringLiteral("Restauração de teste não ativou índices (IDX_CLIENTES_NOME); a base restaurada ficou fora de linha.")},
    };
    for (const auto& c : casos) {
        const Instalacao caso(PastaTeste(dir, QString::fromUtf8(c.modos)));
        const QString pasta = PastaTeste(dir, QString::fromUtf8(c.modos) + QStringLiteral("-destino")) + QLatin1Char('/');
        caso.GravaConfig(ConfigFalso(pasta, "Restaura=1\r\nAlerta=1\r\n"));
        QByteArray saida;
        EXPECT_EQ(caso.Executa(Instalacao::AmbienteGbakFalso(QString::fromUtf8(c.modos)), &saida), 1) << c.modos << saida.constData();
        const QStringList linhas = caso.LinhasRegistro();
        ASSERT_EQ(linhas.size(), 1) << c.modos;
        ConfereLinha(linhas.first(), QStringLiteral(" - FALHA - ") + c.mensagem);
        const QStringList restam = ConteudoPasta(pasta);
        ASSERT_EQ(restam.size(), 1) << c.modos << restam.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(restam.first().endsWith(QStringLiteral(".bkp"))) << restam.first().toStdString();
    }
}

// The same reports agreeing: the run passes.
TEST_F(ExecucaoFalsa, RestauracaoQueConfereComACopiaPassa)
{
    inst.GravaConfig(ConfigFalso(destino, "Restaura=1\r\n"));
    QByteArray saida;
    EXPECT_EQ(inst.Executa(Instalacao::AmbienteGbakFalso(QStringLiteral("tabelas")), &saida), 0) << saida.constData();
    const QStringList arquivos = ConteudoPasta(destino);
    ASSERT_EQ(arquivos.size(), 1);
    EXPECT_TRUE(arquivos.first().endsWith(QStringLiteral(".bkp.zip")));
}

// A DISPLAY left over from a session that is gone, or naming something that
// accepts the connection but is no X server: the run takes the path it takes
// without any display (no alert, stage texts on standard error) and ends with
// its line and its usual code.
TEST_F(ExecucaoFalsa, DisplayInalcancavelSegueSemDisplay)
{
    const auto naoX = OuvinteFalso::X11Tcp(760);
    ASSERT_TRUE(naoX->ok());
    const int livre = DisplayLivre(780);
    ASSERT_GE(livre, 0);
    const QString displays[] = {QStringLiteral(":%1").arg(livre), QStringLiteral(":%1.0").arg(livre),
                                QStringLiteral("localhost:%1").arg(naoX->numero())};
    for (const QString& display : displays) {
        QFile::remove(inst.pasta + QStringLiteral("registro.txt"));
        for (const QString& f : ConteudoPasta(destino))
            QFile::remove(destino + f);
        inst.GravaConfig(ConfigFalso(destino, "Restaura=0\r\nAlerta=1\r\n"));
        QProcessEnvironment amb = Instalacao::AmbienteGbakFalso(QString());
        amb.insert(QStringLiteral("DISPLAY"), display);
        QByteArray saida;
        EXPECT_EQ(inst.Executa(amb, &saida), 0) << display.toStdString() << saida.constData();
        EXPECT_TRUE(saida.contains("Compactando arquivo...")) << saida.constData();
        const QStringList linhas = inst.LinhasRegistro();
        ASSERT_EQ(linhas.size(), 1) << display.toStdString();
        EXPECT_TRUE(linhas.first().contains(QStringLiteral(" - OK - Executado com sucesso; iniciado "))) << linhas.first().toStdString();
        EXPECT_EQ(ConteudoPasta(destino).filter(QStringLiteral(".bkp.zip")).size(), 1) << display.toStdString();
    }
    // A failed run behind a stale display still ends by itself, with its code.
    inst.GravaConfig(ConfigFalso(destino, "Restaura=0\r\nAlerta=1\r\n"));
    QProcessEnvironment amb = Instalacao::AmbienteGbakFalso(QStringLiteral("erro_log"));
    amb.insert(QStringLiteral("DISPLAY"), displays[0]);
    EXPECT_EQ(inst.Executa(amb), 1);
    ConfereLinha(inst.LinhasRegistro().last(), QStringLiteral(" - FALHA - Detectado erro no registro da cópia."));
}

// In a locale whose character set is ISO-8859-1, CONFIG.ini is read and written
// and registro.txt is written in that set (and the stage texts on standard error
// follow it): an accented database name reaches the archive's name and its
// duration keys whole, the failure line's accents are single Latin-1 bytes.
TEST_F(ExecucaoFalsa, LocaleLatin1)
{
    const QByteArray localeLatin1 = "pt_BR.ISO-8859-1";
    const locale_t existe = newlocale(LC_CTYPE_MASK, localeLatin1.constData(), locale_t(nullptr));
    ASSERT_NE(existe, locale_t(nullptr)) << "locale pt_BR.ISO-8859-1 missing: scripts/setup-debian.sh generates it";
    freelocale(existe);
    QProcessEnvironment amb = Instalacao::AmbienteGbakFalso(QString());
    amb.insert(QStringLiteral("LC_ALL"), QString::fromLatin1(localeLatin1));

    // "PRODUÇÃO" in ISO-8859-1.
    inst.GravaConfig(ConfigFalso(destino, "Restaura=1\r\n", "/dados/PRODU\xc7\xc3O.FDB"));
    QByteArray saida;
    ASSERT_EQ(inst.Executa(amb, &saida), 0) << saida.constData();
    EXPECT_TRUE(saida.contains("C\xf3pia seguran\xe7" "a - ")) << saida.constData();
    const QStringList arquivos = ConteudoPasta(destino);
    ASSERT_EQ(arquivos.size(), 1);
    EXPECT_TRUE(arquivos.first().startsWith(QStringLiteral("PRODUÇÃO-"))) << arquivos.first().toStdString();
    const QByteArray config = LeArquivo(inst.pasta + QStringLiteral("CONFIG.ini"));
    EXPECT_TRUE(config.contains("\r\nTBckpagendadoPRODU\xc7\xc3O=0\r\n")) << config.constData();
    EXPECT_TRUE(config.contains("\r\nTRestagendadoPRODU\xc7\xc3O=0\r\n")) << config.constData();
    EXPECT_TRUE(config.contains("Origem=/dados/PRODU\xc7\xc3O.FDB\r\n")) << config.constData();

    inst.GravaConfig("[Sistema]\r\nGBAK=" + GbakFalso().toLocal8Bit() + "\r\n");
    EXPECT_EQ(inst.Executa(amb), 1);
    const QList<QByteArray> linhas = LeArquivo(inst.pasta + QStringLiteral("registro.txt")).split('\n');
    ASSERT_EQ(linhas.size(), 3);  // two lines, each ended by CR LF
    // The pt_BR date and time, then the failure in ISO-8859-1.
    const QRegularExpression formato(QStringLiteral("^\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d - Base  - "));
    EXPECT_TRUE(formato.match(QString::fromLatin1(linhas[1])).hasMatch()) << linhas[1].constData();
    EXPECT_TRUE(linhas[1].endsWith(" - FALHA - Necess\xe1rio informar pasta de destino.\r")) << linhas[1].constData();
}

// The destination fills up during the compression: the run log says why, the
// earlier archives and the backup itself stay, and no partial archive is left.
TEST(Vaultrun, DiscoCheioNaCompactacao)
{
    QTemporaryDir dir;
    const Instalacao inst(PastaTeste(dir, QStringLiteral("inst")));
    const QString destino = dir.path() + QStringLiteral("/destino/");
    DiscoPequeno disco(destino, QStringLiteral("768k"));
    if (!disco.ok())
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    ASSERT_TRUE(GravaArquivo(destino + QStringLiteral("BASE-anterior.bkp.zip"), "good old archive"));
    inst.GravaConfig(ConfigFalso(destino, "Copias=1\r\nRestaura=0\r\n"));
    EXPECT_EQ(inst.Executa(Instalacao::AmbienteGbakFalso(QStringLiteral("tamanho=500000"))), 1);
    const QStringList linhas = inst.LinhasRegistro();
    ASSERT_EQ(linhas.size(), 1);
    EXPECT_TRUE(linhas.first().contains(QStringLiteral(" - FALHA - Falha ao compactar "))) << linhas.first().toStdString();
    EXPECT_TRUE(linhas.first().contains(QStringLiteral("No space left on device"))) << linhas.first().toStdString();
    const QStringList restam = ConteudoPasta(destino);
    ASSERT_EQ(restam.size(), 2) << restam.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(restam[0].endsWith(QStringLiteral(".bkp"))) << restam[0].toStdString();
    EXPECT_EQ(QFileInfo(destino + restam[0]).size(), 500000);
    EXPECT_EQ(restam[1], QStringLiteral("BASE-anterior.bkp.zip"));
    EXPECT_EQ(LeArquivo(destino + QStringLiteral("BASE-anterior.bkp.zip")), QByteArray("good old archive"));
}

// A run log that cannot be written is an error no stage catches: it is reported
// on standard error, the program ends with its own code, no line is written and
// nothing hangs waiting for an answer.
TEST(Vaultrun, RegistroImpossivelDeGravarVaiAoRelatorioDeFalha)
{
    QTemporaryDir dir;
    const Instalacao inst(dir.path());
    ASSERT_TRUE(QDir().mkdir(inst.pasta + QStringLiteral("registro.txt")));  // a folder where the file should be
    QByteArray saida;
    EXPECT_EQ(inst.Executa(Instalacao::AmbienteSemDisplay(), &saida), 3);
    EXPECT_TRUE(saida.contains("Erro inesperado: ")) << saida.constData();
    EXPECT_TRUE(saida.contains("registro.txt")) << saida.constData();
}

// Folder settings written by hand without their final separator, or relative:
// the archive lands inside the folder meant, relative folders count from the
// program's folder (never from wherever the scheduler started it), and pruning
// counts only this database's archives there.
TEST(Vaultrun, PastasSemSeparadorERelativas)
{
    QTemporaryDir dir;
    const struct {
        const char* nome;
        QByteArray destino;  // as written in CONFIG.ini; %I is the install folder
        QString pasta;       // where the archive must land, relative to dir
    } casos[] = {
        {"absoluta sem separador", "%D/copias", QStringLiteral("copias")},
        {"relativa", "copias", QStringLiteral("inst/copias")},
        {"relativa com ponto", "./copias", QStringLiteral("inst/copias")},
        {"ponto", ".", QStringLiteral("inst")},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        QTemporaryDir caso;
        Instalacao inst(PastaTeste(caso, QStringLiteral("inst")));
        inst.pastaAtual = PastaTeste(caso, QStringLiteral("outra"));  // the scheduler's folder
        const QString alvo = PastaTeste(caso, c.pasta) + QLatin1Char('/');
        // An older archive of this database, one of another, and a user's own.
        for (const char* nome : {"BASE-01-01-2020-0100.bkp.zip", "OUTRA-01-01-2020-0100.bkp.zip", "fotos.zip"})
            ASSERT_TRUE(GravaArquivo(alvo + QLatin1String(nome), "antigo"));
        ASSERT_TRUE(GravaArquivo(inst.pastaAtual + QStringLiteral("/notas.zip"), "do usuario"));
        QByteArray destino = c.destino;
        destino.replace("%D", caso.path().toLocal8Bit());
        inst.GravaConfig(ConfigFalso(QString(), "Copias=1\r\nRestaura=0\r\nServico=0\r\n").replace(
            "Destino=\r\n", "Destino=" + destino + "\r\n"));
        QByteArray saida;
        ASSERT_EQ(inst.Executa(Instalacao::AmbienteGbakFalso(QString()), &saida), 0) << saida.constData();
        QStringList zips = ConteudoPasta(alvo).filter(QStringLiteral(".zip"));
        ASSERT_EQ(zips.size(), 3) << zips.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(zips.contains(QStringLiteral("OUTRA-01-01-2020-0100.bkp.zip")));
        EXPECT_TRUE(zips.contains(QStringLiteral("fotos.zip")));
        EXPECT_FALSE(zips.contains(QStringLiteral("BASE-01-01-2020-0100.bkp.zip")));
        EXPECT_EQ(ConteudoPasta(inst.pastaAtual), QStringList{QStringLiteral("notas.zip")});
        EXPECT_EQ(ConteudoPasta(caso.path()).filter(QStringLiteral(".zip")), QStringList());
    }
}

// A run that starts while another is in progress touches no file and says why;
// the first run is not disturbed.
TEST(Vaultrun, DuasExecucoesAoMesmoTempo)
{
    QTemporaryDir dir;
    const Instalacao inst(PastaTeste(dir, QStringLiteral("inst")));
    const QString destino = PastaTeste(dir, QStringLiteral("destino")) + QLatin1Char('/');
    const QString args = dir.path() + QStringLiteral("/args");
    inst.GravaConfig(ConfigFalso(destino, "Restaura=1\r\n"));

    QProcess primeira;
    primeira.setProcessEnvironment(Instalacao::AmbienteGbakFalso(QStringLiteral("lento=3"), args));
    primeira.setWorkingDirectory(inst.pasta);
    primeira.setProcessChannelMode(QProcess::MergedChannels);
    primeira.start(inst.pasta + QStringLiteral("Vaultrun"), {});
    ASSERT_TRUE(primeira.waitForStarted());
    // Once the first run's gbak has started, the first run holds the lock.
    for (int i = 0; i < 100 && !QFile::exists(args); ++i)
        QThread::msleep(100);
    ASSERT_TRUE(QFile::exists(args));

    QByteArray saida;
    EXPECT_EQ(inst.Executa(Instalacao::AmbienteGbakFalso(QString(), args), &saida), 1) << saida.constData();
    ASSERT_TRUE(primeira.waitForFinished(60000));
    EXPECT_EQ(primeira.exitCode(), 0) << primeira.readAll().constData();

    const QStringList linhas = inst.LinhasRegistro();
    ASSERT_EQ(linhas.size(), 2);
    ConfereLinha(linhas[0], QStringLiteral(" - FALHA - Outra execução do backup está em andamento."));
    EXPECT_TRUE(linhas[1].contains(QStringLiteral(" - OK - Executado com sucesso"))) << linhas[1].toStdString();
    // Only the first run's two gbak calls happened.
    EXPECT_EQ(QString::fromUtf8(LeArquivo(args)).count(QStringLiteral("ISC_USER=")), 2);
    const QStringList arquivos = ConteudoPasta(destino);
    ASSERT_EQ(arquivos.size(), 1) << arquivos.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(LeZip(destino + arquivos.first()).integro);
}

// The lock of a run that crashed (its process is gone) does not stop the next.
TEST(Vaultrun, TravaDeExecucaoQueMorreuNaoImpede)
{
    QTemporaryDir dir;
    const Instalacao inst(PastaTeste(dir, QStringLiteral("inst")));
    const QString destino = PastaTeste(dir, QStringLiteral("destino")) + QLatin1Char('/');
    inst.GravaConfig(ConfigFalso(destino, "Restaura=0\r\n"));
    // A process that has ended: its PID is free.
    QProcess morto;
    morto.start(QStringLiteral("true"), {});
    ASSERT_TRUE(morto.waitForFinished());
    const qint64 pid = morto.processId() ? morto.processId() : 999999;
    ASSERT_TRUE(GravaArquivo(inst.pasta + QStringLiteral(".Vaultrun.lock"),
                             QByteArray::number(pid) + "\nVaultrun\n" + QSysInfo::machineHostName().toUtf8() + "\n"));
    QByteArray saida;
    EXPECT_EQ(inst.Executa(Instalacao::AmbienteGbakFalso(QString()), &saida), 0) << saida.constData();
    ASSERT_EQ(inst.LinhasRegistro().size(), 1);
    EXPECT_TRUE(inst.LinhasRegistro().first().contains(QStringLiteral(" - OK - "))) << inst.LinhasRegistro().first().toStdString();
}

}
