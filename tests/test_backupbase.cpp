// The backup procedure against the stand-in gbak: every message, what each
// outcome leaves on disk, the exact command lines, and the faults of a copy, a
// compression and the pruning. The pauses run instantly here.
#include "Apoio.h"
#include "BackupBase.h"
#include "Controles.h"
#include "ExecutaGbak.h"
#include "Pausa.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

class RotuloGravador : public RotuloMemoria {
public:
    QStringList historico;
    void defineTexto(const QString& texto) override
    {
        RotuloMemoria::defineTexto(texto);
        historico << texto;
    }
};

const QString Base = QStringLiteral("BASE-25-12-2023-0930");
const QString Bkp = Base + QStringLiteral(".bkp");
const QString Log = Base + QStringLiteral(".log");
const QString Zip = Bkp + QStringLiteral(".zip");

class BackupFalso : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString argumentos;  // where the stand-in records its calls
    QByteArray pathAnterior = qgetenv("PATH");
    MemoMemoria memo;
    RotuloGravador rotulo;
    BarraMemoria barra;

    void SetUp() override
    {
        DefinePausa([](int) {});
        argumentos = dir.path() + QStringLiteral("/args.txt");
        qputenv("PATH", (PastaGbakFalso() + QLatin1Char(':')).toLocal8Bit() + pathAnterior);
        qputenv("GBAK_FALSO_ARGS", argumentos.toLocal8Bit());
    }
    void TearDown() override
    {
        qputenv("PATH", pathAnterior);
        qunsetenv("GBAK_FALSO");
        qunsetenv("GBAK_FALSO_ARGS");
        DefinePausa({});
    }

    QString Pasta(const QString& nome) { return PastaTeste(dir, nome) + QLatin1Char('/'); }

    // The server's view of a share folder: the same folder under another path.
    QString VisaoServidor(const QString& rede)
    {
        const QString link = dir.path() + QStringLiteral("/servidor");
        QFile::link(rede, link);
        return link + QLatin1Char('/');
    }

    QString Executa(const QString& modos, const QString& d, const QString& l = {}, const QString& r = {},
                    bool restaura = false, bool servico = false, int copias = 0,
                    const QString& origem = QStringLiteral("/dados/BASE.FDB"))
    {
        qputenv("GBAK_FALSO", modos.toLocal8Bit());
        QString mensagem = QStringLiteral("não tocada");
        BackupBase(memo, QString(), QStringLiteral("localhost:"), origem, Bkp, l, d, r, Log, rotulo, barra,
                   restaura, servico, true, copias, mensagem);
        return mensagem;
    }

    // Each recorded call: its arguments.
    QList<QStringList> Chamadas()
    {
        QList<QStringList> chamadas;
        for (const QString& bloco : QString::fromUtf8(LeArquivo(argumentos)).split(QStringLiteral("\n\n"), Qt::SkipEmptyParts))
            chamadas << bloco.split(QLatin1Char('\n'));
        return chamadas;
    }
};

// Archives with given modification days, oldest first.
void CriaArquivosAntigos(const QString& pasta, const QStringList& nomes)
{
    QDateTime quando = QDateTime::currentDateTime().addDays(-nomes.size() - 1);
    for (const QString& nome : nomes) {
        GravaArquivo(pasta + nome, "old archive");
        QFile f(pasta + nome);
        f.open(QIODevice::ReadWrite);
        f.setFileTime(quando, QFileDevice::FileModificationTime);
        quando = quando.addDays(1);
    }
}

TEST_F(BackupFalso, SucessoDeixaSoOArquivoZipComOBackup)
{
    const QString d = Pasta(QStringLiteral("destino"));
    EXPECT_EQ(Executa(QString(), d, {}, {}, true), QString());
    EXPECT_EQ(ConteudoPasta(d), QStringList{Zip});
    const ConteudoZip z = LeZip(d + Zip);
    EXPECT_TRUE(z.integro);
    EXPECT_EQ(z.nomes, QStringList{Bkp});
    EXPECT_EQ(z.primeiro, QByteArray("stand-in backup of localhost:/dados/BASE.FDB\n"));
    EXPECT_EQ(z.metodo, QStringLiteral("deflated"));
    // The label went through the stages and was handed back hidden.
    EXPECT_TRUE(rotulo.historico.contains(QStringLiteral("Aguardando retorno cópia...")));
    EXPECT_TRUE(rotulo.historico.contains(QStringLiteral("Aguardando retorno análise...")));
    EXPECT_TRUE(rotulo.historico.contains(QStringLiteral("Compactando arquivo...")));
    EXPECT_FALSE(rotulo.visivel());
    EXPECT_FALSE(barra.visivel());
}

// Every failure of the procedure: its message and what stays on disk.
TEST_F(BackupFalso, MensagensEOQueFicaNoDisco)
{
    const struct {
        const char* modos;
        bool restaura;
        QString mensagem;  // "%1" stands for the destination folder
        QStringList restam;
    } casos[] = {
        {"erro_log", false, QStringLiteral("Detectado erro no registro da cópia."), {Bkp, Log}},
        {"sem_backup", false, QStringLiteral("Backup NÃO FOI realizado!"), {}},
        {"sem_backup,sem_log", false, QStringLiteral("Backup NÃO FOI realizado!"), {}},
        {"sem_log", false, QStringLiteral("Impossível abrir arquivo %1") + Log, {Bkp}},
        {"erro_restauracao", true, QStringLiteral("Detectado erro na restauração do backup."), {Bkp}},
        {"sem_log_restauracao", true, QStringLiteral("Análise NÃO FOI realizada!"), {Bkp}},
        // gbak's own failure, with a report that shows none: the files stay for
        // inspection and nothing is archived.
        {"morre", false, QStringLiteral("O gbak terminou de forma anormal."), {Bkp, Log}},
        {"codigo=1", false, QStringLiteral("O gbak terminou com o código de erro 1."), {Bkp, Log}},
        {"codigo_restauracao=1", true, QStringLiteral("Detectado erro na restauração do backup."), {Bkp}},
    };
    for (const auto& c : casos) {
        const QString d = Pasta(QString::fromUtf8(c.modos));
        EXPECT_EQ(Executa(QString::fromUtf8(c.modos), d, {}, {}, c.restaura), c.mensagem.contains(QStringLiteral("%1")) ? c.mensagem.arg(d) : c.mensagem)
            << c.modos;
        EXPECT_EQ(ConteudoPasta(d), c.restam) << c.modos;
        EXPECT_FALSE(rotulo.visivel()) << c.modos;
    }
}

TEST_F(BackupFalso, ErroNoRelatorioEmQualquerCaixaRecusaAPenasPeloTexto)
{
    const QString d = Pasta(QStringLiteral("d"));
    // "Error" mixed case in the backup report; lower-case "error" in the restore's.
    EXPECT_EQ(Executa(QStringLiteral("erro_log"), d), QStringLiteral("Detectado erro no registro da cópia."));
    EXPECT_TRUE(memo.texto().contains("Error"));
}

TEST_F(BackupFalso, FerramentaEPastasAusentes)
{
    const QString d = Pasta(QStringLiteral("d"));
    {
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", dir.path().toLocal8Bit());  // no gbak anywhere
        EXPECT_EQ(Executa(QString(), d), QStringLiteral("Ferramenta para backup não localizada."));
        qputenv("PATH", path);
    }
    EXPECT_EQ(Executa(QString(), dir.path() + QStringLiteral("/falta/a/")),
              QStringLiteral("Não foi possível acessar a pasta / compartilhamento para cópia."));
    EXPECT_EQ(Executa(QString(), QString(), QString(), d),  // share without server folder
              QStringLiteral("Não foi possível acessar a pasta / compartilhamento para cópia."));
    EXPECT_EQ(Executa(QString(), dir.path() + QStringLiteral("/falta/b/"), QStringLiteral("/srv/bk/"), d),
              QStringLiteral("Não foi possível acessar a pasta destino para cópia."));
    EXPECT_TRUE(Chamadas().isEmpty());
}

// Paths with blanks, quotes and shell characters reach gbak as text, in the
// order of the command lines, with and without the service manager.
TEST_F(BackupFalso, LinhasDeComandoExatas)
{
    const QString d = Pasta(QStringLiteral("meus backups; $(touch X) `id` & ' x"));
    const QString origem = QStringLiteral("/dados/minha base/BASE.FDB");
    EXPECT_EQ(Executa(QString(), d, {}, {}, true, true, 0, origem), QString());
    EXPECT_EQ(Executa(QString(), d, {}, {}, true, false, 0, origem), QString());
    const QStringList conta{QStringLiteral("-user"), QStringLiteral("sysdba"), QStringLiteral("-password"),
                            QStringLiteral("bluefjord")};
    const QStringList relatorio{QStringLiteral("-v"), QStringLiteral("-y"), d + Log};
    const QStringList servico{QStringLiteral("-se"), QStringLiteral("localhost:service_mgr")};
    const QStringList restaura{QStringLiteral("-r"), QStringLiteral("-rep"), QStringLiteral("-p"), QStringLiteral("4096")};
    const QList<QStringList> esperado{
        conta + relatorio + servico + QStringList{origem, d + Bkp},
        restaura + conta + relatorio + servico + QStringList{d + Bkp, d + Bkp + QStringLiteral(".tst")},
        conta + relatorio + QStringList{QStringLiteral("localhost:") + origem, d + Bkp},
        restaura + conta + relatorio + QStringList{d + Bkp, d + Bkp + QStringLiteral(".tst")},
    };
    EXPECT_EQ(Chamadas(), esperado);
    EXPECT_FALSE(QFile::exists(d + QStringLiteral("X")));
    EXPECT_EQ(ConteudoPasta(d), QStringList{Zip});
}

// Case D: gbak writes to the share, the backup is copied to the destination
// before compression.
TEST_F(BackupFalso, CasoDMoveOBackupAntesDeCompactar)
{
    const QString d = Pasta(QStringLiteral("destino")), r = Pasta(QStringLiteral("rede"));
    const QString l = VisaoServidor(r);
    EXPECT_EQ(Executa(QString(), d, l, r, false, true), QString());
    EXPECT_EQ(ConteudoPasta(d), QStringList{Zip});
    EXPECT_EQ(ConteudoPasta(r), QStringList());
    EXPECT_EQ(Chamadas().first().mid(4, 3), (QStringList{QStringLiteral("-v"), QStringLiteral("-y"), l + Log}));
    EXPECT_TRUE(rotulo.historico.contains(QStringLiteral("Copiando arquivo...")));
}

// A copy that fails (full or read-only destination) must not be followed by the
// deletion of its source, and no earlier archive may go.
TEST_F(BackupFalso, CopiaQueFalhaMantemAOrigem)
{
    for (const bool somenteLeitura : {false, true}) {
        const QString sufixo = somenteLeitura ? QStringLiteral("ro") : QStringLiteral("cheio");
        const QString d = Pasta(QStringLiteral("destino") + sufixo), r = Pasta(QStringLiteral("rede") + sufixo);
        DiscoPequeno disco(d, QStringLiteral("64k"));
        if (!disco.ok())
            GTEST_SKIP() << "mounting a tmpfs is not permitted here";
        CriaArquivosAntigos(d, {QStringLiteral("a.zip"), QStringLiteral("b.zip")});
        if (somenteLeitura) {
            ASSERT_TRUE(disco.SomenteLeitura());
        }
        QFile::remove(dir.path() + QStringLiteral("/servidor"));
        const QString mensagem = Executa(QStringLiteral("tamanho=200000"), d, VisaoServidor(r), r, false, false, 2);
        EXPECT_TRUE(mensagem.startsWith(QStringLiteral("Falha ao copiar ") + r + Bkp + QStringLiteral(" para ") + d + Bkp))
            << mensagem.toStdString();
        EXPECT_EQ(ConteudoPasta(r), QStringList{Bkp}) << sufixo.toStdString();
        EXPECT_EQ(QFileInfo(r + Bkp).size(), 200000);
        EXPECT_EQ(ConteudoPasta(d), (QStringList{QStringLiteral("a.zip"), QStringLiteral("b.zip")})) << sufixo.toStdString();
    }
}

// A compression that runs out of disk leaves no partial archive and deletes no
// earlier archive.
TEST_F(BackupFalso, CompactacaoSemEspacoNaoDeixaArquivoParcial)
{
    const QString d = Pasta(QStringLiteral("destino"));
    DiscoPequeno disco(d, QStringLiteral("512k"));
    if (!disco.ok())
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    CriaArquivosAntigos(d, {QStringLiteral("a.zip"), QStringLiteral("b.zip"), QStringLiteral("c.zip")});
    const QString mensagem = Executa(QStringLiteral("tamanho=300000"), d, {}, {}, false, false, 1);
    EXPECT_FALSE(mensagem.isEmpty());
    EXPECT_TRUE(mensagem.contains(Bkp)) << mensagem.toStdString();
    EXPECT_EQ(ConteudoPasta(d), (QStringList{Bkp, QStringLiteral("a.zip"), QStringLiteral("b.zip"), QStringLiteral("c.zip")}));
}

// Pruning happens only after the new archive is in place: a successful run leaves
// exactly `copias` archives, a failed one deletes nothing.
TEST_F(BackupFalso, PodaSoDepoisDoSucesso)
{
    const QStringList antigos{QStringLiteral("BASE-1.bkp.zip"), QStringLiteral("BASE-2.bkp.zip"), QStringLiteral("BASE-3.bkp.zip"),
                              QStringLiteral("OUTRA.ZIP"), QStringLiteral("BASE-5.bkp.zip")};
    const struct {
        int copias;
        bool falha;
        QStringList restam;
    } casos[] = {
        {3, false, {Zip, QStringLiteral("BASE-5.bkp.zip"), QStringLiteral("OUTRA.ZIP")}},
        {1, false, {Zip}},
        {0, false, antigos + QStringList{Zip}},
        {10, false, antigos + QStringList{Zip}},
        {1, true, antigos},
        {3, true, antigos},
    };
    for (const auto& c : casos) {
        const QString d = Pasta(QStringLiteral("d%1%2").arg(c.copias).arg(c.falha));
        CriaArquivosAntigos(d, antigos);
        const QString mensagem = Executa(c.falha ? QStringLiteral("erro_log") : QString(), d, {}, {}, false, false, c.copias);
        EXPECT_EQ(mensagem.isEmpty(), !c.falha);
        QStringList zips = QDir(d).entryList({QStringLiteral("*.zip"), QStringLiteral("*.ZIP")}, QDir::Files);
        QStringList esperado = c.restam;
        zips.sort();
        esperado.sort();
        EXPECT_EQ(zips, esperado) << "copias " << c.copias << (c.falha ? " falha" : "");
    }
}

// The job runner: countdown while the expected time runs down, then measuring;
// the bar moves one step a second and is handed back as it was.
TEST(ExecutaGbak, ContagemRegressivaEDepoisMedicao)
{
    qputenv("GBAK_FALSO", "lento=3");
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", (PastaGbakFalso() + QLatin1Char(':')).toLocal8Bit() + path);
    QTemporaryDir dir;
    const QString linha = QStringLiteral("gbak -y %1/x.log /db %1/x.bkp").arg(dir.path());

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
        GaugeAtual = &barra;
        const int medidos = ExecutaGbak(linha, c.esperados, rotulo);
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
        EXPECT_FALSE(GbakFim);
    }
    GaugeAtual = nullptr;
    qputenv("PATH", path);
    qunsetenv("GBAK_FALSO");
}

}
