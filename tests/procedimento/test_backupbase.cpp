// The backup procedure against the stand-in gbak: every message, what each
// outcome leaves on disk, the exact command lines, and the faults of a copy, a
// compression and the pruning. The pauses run instantly here.
#include "apoio/Arquivos.h"
#include "apoio/Instalacao.h"
#include "apoio/Processos.h"
#include "apoio/Texto.h"
#include "apoio/Zip.h"
#include "procedimento/BackupBase.h"
#include "configuracao/Configuracao.h"
#include "apoio/RotuloGravador.h"
#include "plataforma/Controles.h"
#include "plataforma/Pausa.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

const QString Base = QStringLiteral("BASE-25-12-2023-0930");
const QString Bkp = Base + QStringLiteral(".bkp");
const QString Log = Base + QStringLiteral(".log");
const QString Zip = Bkp + QStringLiteral(".zip");

class BackupFalso : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString argumentos;  // where the stand-in records its calls
    QString gbak = GbakFalso();
    MemoMemoria memo;
    RotuloGravador rotulo;
    BarraMemoria barra;

    void SetUp() override
    {
        DefinePausa([](int) {});
        argumentos = dir.path() + QStringLiteral("/args.txt");
        qputenv("GBAK_FALSO_ARGS", argumentos.toLocal8Bit());
    }
    void TearDown() override
    {
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
                    const QString& origem = QStringLiteral("/dados/BASE.FDB"), const QString& sistema = {})
    {
        qputenv("GBAK_FALSO", modos.toLocal8Bit());
        return BackupBase({.memo = memo,
                           .sistema = sistema,
                           .gbak = gbak,
                           .senha = "s3nh@ \"x\"",
                           .host = QStringLiteral("localhost:"),
                           .origem = origem,
                           .arqBackup = Bkp,
                           .pastaLog = l,
                           .pastaDestino = d,
                           .pastaRede = r,
                           .arqLog = Log,
                           .rotulo = rotulo,
                           .barra = barra,
                           .restaura = restaura,
                           .servico = servico,
                           .compacta = true,
                           .copias = copias});
    }

    // Each recorded call: the account lines, then its arguments.
    QList<QStringList> ChamadasCompletas()
    {
        QList<QStringList> chamadas;
        for (const QString& bloco : QString::fromUtf8(LeArquivo(argumentos)).split(QStringLiteral("\n\n"), Qt::SkipEmptyParts))
            chamadas << bloco.split(QLatin1Char('\n'));
        return chamadas;
    }
    // Each recorded call: its arguments only.
    QList<QStringList> Chamadas()
    {
        QList<QStringList> chamadas = ChamadasCompletas();
        for (QStringList& c : chamadas)
            c = c.mid(2);
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
        // A restore report that cannot be read proves nothing: the run fails and
        // the scratch database goes.
        {"log_restauracao_pasta", true, QStringLiteral("Impossível abrir arquivo %1") + Log, {Bkp, Log}},
        // A restore that gbak reported clean but that does not hold what the
        // backup wrote.
        {"contagem_divergente", true,
         QStringLiteral("Restauração de teste divergente na tabela CLIENTES: 25003 registros na cópia, 24999 restaurados."), {Bkp}},
        {"tabela_ausente", true, QStringLiteral("Tabela PEDIDOS ausente na restauração de teste: 40 registros na cópia, 0 restaurados."),
         {Bkp}},
        {"indices_inativos", true,
         QStringLiteral("Restauração de teste não ativou índices (IDX_CLIENTES_NOME); a base restaurada ficou fora de linha."), {Bkp}},
    };
    for (const auto& c : casos) {
        const QString d = Pasta(QString::fromUtf8(c.modos));
        EXPECT_EQ(Executa(QString::fromUtf8(c.modos), d, {}, {}, c.restaura), c.mensagem.contains(QStringLiteral("%1")) ? c.mensagem.arg(d) : c.mensagem)
            << c.modos;
        EXPECT_EQ(ConteudoPasta(d), c.restam) << c.modos;
        EXPECT_FALSE(rotulo.visivel()) << c.modos;
    }
}

// Reports that agree table by table, an empty table unlisted by the restore:
// the backup is archived.
TEST_F(BackupFalso, RestauracaoQueConfereComACopiaPassa)
{
    const QString d = Pasta(QStringLiteral("d"));
    EXPECT_EQ(Executa(QStringLiteral("tabelas"), d, {}, {}, true), QString());
    EXPECT_EQ(ConteudoPasta(d), QStringList{Zip});
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
    for (const QString& ausente : {dir.path() + QStringLiteral("/nao/existe/gbak"), dir.path(), QString()}) {
        gbak = ausente;
        EXPECT_EQ(Executa(QString(), d), QStringLiteral("Ferramenta para backup não localizada.")) << ausente.toStdString();
    }
    gbak = GbakFalso();
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
    const QStringList relatorio{QStringLiteral("-v"), QStringLiteral("-y"), d + Log};
    const QStringList servico{QStringLiteral("-se"), QStringLiteral("localhost:service_mgr")};
    const QStringList restaura{QStringLiteral("-r"), QStringLiteral("-rep"), QStringLiteral("-p"), QStringLiteral("4096")};
    const QList<QStringList> esperado{
        relatorio + servico + QStringList{origem, d + Bkp},
        restaura + relatorio + servico + QStringList{d + Bkp, d + Bkp + QStringLiteral(".tst")},
        relatorio + QStringList{QStringLiteral("localhost:") + origem, d + Bkp},
        restaura + relatorio + QStringList{d + Bkp, d + Bkp + QStringLiteral(".tst")},
    };
    EXPECT_EQ(Chamadas(), esperado);
    // The account reaches every gbak through its environment, never its arguments.
    for (const QStringList& chamada : ChamadasCompletas())
        EXPECT_EQ(chamada.mid(0, 2), (QStringList{QStringLiteral("ISC_USER=SYSDBA"), QStringLiteral("ISC_PASSWORD=s3nh@ \"x\"")}));
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
    EXPECT_EQ(Chamadas().first().mid(0, 3), (QStringList{QStringLiteral("-v"), QStringLiteral("-y"), l + Log}));
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
        // The operator reads the cause in the run log.
        EXPECT_TRUE(mensagem.endsWith(somenteLeitura ? QStringLiteral(": Read-only file system")
                                                     : QStringLiteral(": No space left on device")))
            << mensagem.toStdString();
        EXPECT_EQ(ConteudoPasta(r), QStringList{Bkp}) << sufixo.toStdString();
        EXPECT_EQ(QFileInfo(r + Bkp).size(), 200000);
        EXPECT_EQ(ConteudoPasta(d), (QStringList{QStringLiteral("a.zip"), QStringLiteral("b.zip")})) << sufixo.toStdString();
    }
}

// A compression that runs out of disk leaves no partial archive and deletes no
// earlier archive.
// With the test restore on, the archive is built while the restore runs.
TEST_F(BackupFalso, CompactacaoSemEspacoNaoDeixaArquivoParcial)
{
    for (const bool restaura : {false, true}) {
        const QString d = Pasta(restaura ? QStringLiteral("destino-r") : QStringLiteral("destino"));
        DiscoPequeno disco(d, QStringLiteral("512k"));
        if (!disco.ok())
            GTEST_SKIP() << "mounting a tmpfs is not permitted here";
        const QStringList antigos{QStringLiteral("BASE-01-12-2023-0930.bkp.zip"), QStringLiteral("b.zip"), QStringLiteral("c.zip")};
        CriaArquivosAntigos(d, antigos);
        const QString mensagem = Executa(QStringLiteral("tamanho=300000"), d, {}, {}, restaura, false, 1);
        EXPECT_TRUE(mensagem.startsWith(QStringLiteral("Falha ao compactar ") + d + Bkp)) << mensagem.toStdString();
        EXPECT_TRUE(mensagem.contains(QStringLiteral("No space left on device"))) << mensagem.toStdString();
        QStringList esperado = QStringList{Bkp} + antigos;
        esperado.sort();
        EXPECT_EQ(ConteudoPasta(d), esperado) << "restaura " << restaura;
    }
}

// The archive is built while gbak restores the scratch database, and is kept
// only when the restore passes: a failed restore leaves what it always left (the
// backup, no archive, nothing hidden), however far the archive had come.
TEST_F(BackupFalso, ArquivoFeitoDuranteATesteDeRestauracao)
{
    const struct {
        const char* modos;
        QString mensagem;
        bool arquivo;
    } casos[] = {
        {"tamanho=20000000,lento=2,lista_pasta", QString(), true},
        {"tamanho=20000000,erro_restauracao", QStringLiteral("Detectado erro na restauração do backup."), false},
        {"tamanho=20000000,sem_log_restauracao", QStringLiteral("Análise NÃO FOI realizada!"), false},
    };
    for (const auto& c : casos) {
        const QString d = Pasta(QString::fromUtf8(c.modos).replace(QLatin1Char(','), QLatin1Char('_')));
        QFile::remove(argumentos + QStringLiteral(".pasta"));
        EXPECT_EQ(Executa(QString::fromUtf8(c.modos), d, {}, {}, true), c.mensagem) << c.modos;
        EXPECT_EQ(ConteudoPasta(d), c.arquivo ? QStringList{Zip} : QStringList{Bkp}) << c.modos;
        if (c.arquivo) {
            const ConteudoZip z = LeZip(d + Zip);
            EXPECT_TRUE(z.integro);
            EXPECT_EQ(z.primeiro.size(), 20000000);
            // Two seconds into the restore the archive stood complete under its
            // hidden name, beside the backup the restore was reading.
            const QStringList durante = QString::fromUtf8(LeArquivo(argumentos + QStringLiteral(".pasta"))).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            EXPECT_TRUE(durante.contains(Bkp)) << durante.join(QLatin1Char(' ')).toStdString();
            EXPECT_EQ(durante.filter(QRegularExpression(QStringLiteral("^\\.") + QRegularExpression::escape(Zip) + QStringLiteral("\\."))).size(), 1)
                << durante.join(QLatin1Char(' ')).toStdString();
        }
    }
}

// Pruning happens only after the new archive is in place: a successful run leaves
// exactly `copias` archives, a failed one deletes nothing.
TEST_F(BackupFalso, PodaSoDepoisDoSucesso)
{
    // This database's archives, oldest first, among files pruning must never
    // touch: a user's own archives and another database's.
    const QStringList antigos{QStringLiteral("BASE-01-12-2023-0930.bkp.zip"), QStringLiteral("fotos-ferias.zip"),
                              QStringLiteral("BASE-02-12-2023-0930.bkp.zip"), QStringLiteral("BASE2-03-12-2023-0930.bkp.zip"),
                              QStringLiteral("BASE-03-12-2023-0930.bkp.zip"), QStringLiteral("notas.ZIP"),
                              QStringLiteral("BASE-04-12-2023-0930.bkp.zip")};
    const QStringList alheios{QStringLiteral("fotos-ferias.zip"), QStringLiteral("BASE2-03-12-2023-0930.bkp.zip"),
                              QStringLiteral("notas.ZIP")};
    const struct {
        int copias;
        bool falha;
        QStringList restam;
    } casos[] = {
        {3, false, alheios + QStringList{Zip, QStringLiteral("BASE-04-12-2023-0930.bkp.zip"), QStringLiteral("BASE-03-12-2023-0930.bkp.zip")}},
        {1, false, alheios + QStringList{Zip}},
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

// Object names in gbak's verbose reports are not errors: a table called ERROR_LOG
// is listed by name in both the backup's and the restore's report.
TEST_F(BackupFalso, NomesDeObjetosComErrorNaoSaoErros)
{
    const QString d = Pasta(QStringLiteral("d"));
    EXPECT_EQ(Executa(QStringLiteral("nomes_com_error"), d, {}, {}, true), QString());
    EXPECT_TRUE(memo.texto().contains("ERROR_LOG"));
    EXPECT_EQ(ConteudoPasta(d), QStringList{Zip});
}

// The program that runs is the one the request names: a "gbak" first in PATH or
// in the current folder never runs, and never receives the password.
TEST_F(BackupFalso, RodaOGbakIndicadoENaoOutro)
{
    const QString armadilha = Pasta(QStringLiteral("armadilha"));
    const QString marca = dir.path() + QStringLiteral("/armadilha-rodou");
    GravaArquivo(armadilha + QStringLiteral("gbak"), "#!/bin/sh\necho \"$ISC_PASSWORD\" > '" + marca.toUtf8() + "'\nexit 1\n");
    QFile::setPermissions(armadilha + QStringLiteral("gbak"), QFile::permissions(armadilha + QStringLiteral("gbak")) | QFileDevice::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    const QString atual = QDir::currentPath();
    qputenv("PATH", armadilha.toLocal8Bit() + ':' + path);
    QDir::setCurrent(armadilha);

    const QString d = Pasta(QStringLiteral("d"));
    const QString mensagem = Executa(QString(), d, {}, {}, true);
    QDir::setCurrent(atual);
    qputenv("PATH", path);
    EXPECT_EQ(mensagem, QString());
    EXPECT_FALSE(QFile::exists(marca));
    EXPECT_EQ(ConteudoPasta(d), QStringList{Zip});
}

// The durations only feed the next countdown: a CONFIG.ini that refuses the
// write costs the run nothing.
TEST_F(BackupFalso, DuracaoRecusadaNaoDerrubaOBackup)
{
    const QString config = ArquivoConfiguracao();
    ASSERT_FALSE(QFileInfo::exists(config)) << "a CONFIG.ini beside the test program";
    ASSERT_TRUE(QDir().mkpath(config));  // a folder by that name: every write fails
    const QString d = Pasta(QStringLiteral("d"));
    const QString mensagem = Executa(QString(), d, {}, {}, true, false, 0, QStringLiteral("/dados/BASE.FDB"),
                                     QStringLiteral("agendado"));
    QDir().rmdir(config);
    EXPECT_EQ(mensagem, QString());
    EXPECT_EQ(ConteudoPasta(d), QStringList{Zip});
}

}
