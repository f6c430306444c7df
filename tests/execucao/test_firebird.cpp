// Scheduled runs against the real Firebird 3 server and gbak: the archive a run
// leaves must hold gbak's own backup and restore into the original rows, in each
// way the folders can be laid out.
#include "apoio/Arquivos.h"
#include "apoio/Firebird.h"
#include "apoio/Instalacao.h"
#include "apoio/Processos.h"
#include "apoio/Texto.h"
#include "configuracao/Cripto.h"
#include "gbak/ConciliacaoGbak.h"
#include "apoio/Zip.h"

#include <QDir>
#include <algorithm>
#include <QFile>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace {

constexpr int Linhas = 2500;

QString Espiao() { return QStringLiteral(VAULTRUN_TESTS_DIR "/pares/gbak_espiao/gbak"); }

class ExecucaoReal : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString banco;
    QString copias;  // gbak's own backups, kept by the spy

    void SetUp() override
    {
        AbreParaServidor(dir.path());
        banco = PastaTeste(dir, QStringLiteral("dados")) + QStringLiteral("/BASE.FDB");
        CriaBanco(banco, Linhas);
        // A table whose name holds "ERROR" is listed in both of gbak's verbose
        // reports: only gbak's own error lines may fail a run.
        ASSERT_TRUE(ExecutaSql(banco, "create table error_log (id integer, errors varchar(20));\n"
                                      "insert into error_log values (1, 'ERROR: none');\ncommit;\n"));
        copias = PastaTeste(dir, QStringLiteral("copias"));
    }

    // Installs the runner, runs it once with the spy in front of the real gbak.
    QStringList Executa(const QByteArray& pastas, bool servico, QByteArray* saida)
    {
        const Instalacao inst(PastaTeste(dir, QStringLiteral("instalacao")));
        QFile::remove(inst.pasta + QStringLiteral("registro.txt"));
        // The spy runs the real gbak and keeps a copy of each backup it made.
        inst.GravaConfig("[Sistema]\r\nGBAK=" + Espiao().toLocal8Bit() + "\r\nHost=localhost:\r\nOrigem=" + banco.toLocal8Bit() + "\r\n"
                         + pastas + "Copias=3\r\nRestaura=1\r\nServico=" + (servico ? "1" : "0") + "\r\nAlerta=1\r\n");
        QProcessEnvironment amb = Instalacao::AmbienteSemDisplay();
        amb.insert(QStringLiteral("GBAK_ESPIAO"), copias);
        EXPECT_EQ(inst.Executa(amb, saida), 0) << saida->constData();
        const QByteArray config = LeArquivo(inst.pasta + QStringLiteral("CONFIG.ini"));
        EXPECT_TRUE(config.contains("TBckpagendadoBASE=")) << config.constData();
        EXPECT_TRUE(config.contains("TRestagendadoBASE=")) << config.constData();
        return inst.LinhasRegistro();
    }

    // A run that must succeed: its one line is the success line of a run without
    // transfers, and `destino` holds its archive. Returns what it printed.
    QByteArray ExecutaComSucesso(const QByteArray& pastas, bool servico, const QString& destino)
    {
        QByteArray saida;
        const QStringList linhas = Executa(pastas, servico, &saida);
        if (linhas.size() != 1) {
            ADD_FAILURE() << "run log lines: " << linhas.join(QLatin1Char('|')).toStdString();
            return saida;
        }
        EXPECT_TRUE(linhas.first().contains(QStringLiteral(" - Base  - OK - Executado com sucesso; iniciado ")))
            << linhas.first().toStdString();
        ConfereArquivo(destino);
        return saida;
    }

    // The destination holds exactly the archive; it passes independent readers,
    // holds gbak's bytes and restores into the original rows.
    void ConfereArquivo(const QString& destino)
    {
        const QStringList arquivos = ConteudoPasta(destino);
        ASSERT_EQ(arquivos.size(), 1) << arquivos.join(QLatin1Char(' ')).toStdString();
        const QString zip = arquivos.first();
        ASSERT_TRUE(zip.startsWith(QStringLiteral("BASE-")) && zip.endsWith(QStringLiteral(".bkp.zip"))) << zip.toStdString();
        const QString bkp = zip.chopped(4);

        const ConteudoZip z = LeZip(destino + zip);
        EXPECT_TRUE(z.integro);
        EXPECT_EQ(z.nomes, QStringList{bkp});
        EXPECT_EQ(z.metodo, QStringLiteral("deflated"));
        const QByteArray original = LeArquivo(copias + QLatin1Char('/') + bkp);
        ASSERT_FALSE(original.isEmpty());
        EXPECT_TRUE(z.primeiro == original) << "archive entry differs from gbak's backup";

        const QString extraido = PastaTeste(dir, QStringLiteral("extraido")) + QLatin1Char('/') + bkp;
        ASSERT_TRUE(GravaArquivo(extraido, z.primeiro));
        AbreParaServidor(QFileInfo(extraido).absolutePath());
        QFile::setPermissions(extraido, QFile::permissions(extraido) | QFileDevice::ReadOther);
        const QString restaurado = PastaTeste(dir, QStringLiteral("restaurado")) + QStringLiteral("/NOVA.FDB");
        ASSERT_TRUE(RestauraBackup(extraido, restaurado));
        EXPECT_EQ(ContaClientes(restaurado), Linhas);
    }
};

// Destination only, gbak as a client: the test restore's scratch database is made
// and removed, and the run is logged as a success.
TEST_F(ExecucaoReal, CasoADestinoLocal)
{
    const QString destino = PastaTeste(dir, QStringLiteral("destino com espaço")) + QLatin1Char('/');
    AbreParaServidor(destino);
    const QByteArray saida = ExecutaComSucesso("Destino=" + destino.toLocal8Bit() + "\r\n", false, destino);
    EXPECT_TRUE(saida.contains("Análise cópia - Medindo: ")) << saida.constData();
}

// The server writes into a folder it names one way (Log) while this machine
// watches it under another (Rede); the destination is the share itself.
TEST_F(ExecucaoReal, CasoCServicoComDuasVisoesDaPasta)
{
    const QString rede = PastaTeste(dir, QStringLiteral("compartilhamento")) + QLatin1Char('/');
    AbreParaServidor(rede);
    const QString servidor = dir.path() + QStringLiteral("/visao do servidor");
    ASSERT_TRUE(QFile::link(rede, servidor));
    ExecutaComSucesso("Destino=" + rede.toLocal8Bit() + "\r\nLog=" + servidor.toLocal8Bit() + "/\r\nRede=" + rede.toLocal8Bit() + "\r\n",
                      true, rede);
}

// As above, and the backup is brought from the share to a separate destination
// before it is compressed; the share is left empty.
TEST_F(ExecucaoReal, CasoDServicoComDestinoSeparado)
{
    const QString rede = PastaTeste(dir, QStringLiteral("compartilhamento")) + QLatin1Char('/');
    const QString destino = PastaTeste(dir, QStringLiteral("destino")) + QLatin1Char('/');
    AbreParaServidor(rede);
    const QString servidor = dir.path() + QStringLiteral("/servidor");
    ASSERT_TRUE(QFile::link(rede, servidor));
    const QByteArray saida = ExecutaComSucesso(
        "Destino=" + destino.toLocal8Bit() + "\r\nLog=" + servidor.toLocal8Bit() + "/\r\nRede=" + rede.toLocal8Bit() + "\r\n",
        true, destino);
    EXPECT_TRUE(saida.contains("Copiando arquivo...")) << saida.constData();
    EXPECT_EQ(ConteudoPasta(rede), QStringList());
}

// A database that does not exist: gbak reports it, the run fails and nothing is
// archived.
TEST_F(ExecucaoReal, BancoInexistenteFalha)
{
    banco = dir.path() + QStringLiteral("/dados/NAOEXISTE.FDB");
    const QString destino = PastaTeste(dir, QStringLiteral("destino")) + QLatin1Char('/');
    AbreParaServidor(destino);
    const Instalacao inst(PastaTeste(dir, QStringLiteral("instalacao")));
    inst.GravaConfig("[Sistema]\r\nGBAK=/usr/bin/gbak\r\nOrigem=" + banco.toLocal8Bit() + "\r\nDestino=" + destino.toLocal8Bit()
                     + "\r\nServico=1\r\n");
    EXPECT_EQ(inst.Executa(), 1);
    const QStringList linhas = inst.LinhasRegistro();
    ASSERT_EQ(linhas.size(), 1);
    EXPECT_TRUE(linhas.first().endsWith(QStringLiteral(" - FALHA - Backup NÃO FOI realizado!"))
                || linhas.first().endsWith(QStringLiteral(" - FALHA - Detectado erro no registro da cópia.")))
        << linhas.first().toStdString();
    for (const QString& f : ConteudoPasta(destino))
        EXPECT_FALSE(f.endsWith(QStringLiteral(".zip"))) << f.toStdString();
}

// The administrator's password comes from CONFIG.ini (scrambled) and reaches gbak
// through its environment: a wrong one fails the run on gbak's own error line.
TEST_F(ExecucaoReal, SenhaDoAdministradorDoConfig)
{
    const QString destino = PastaTeste(dir, QStringLiteral("destino")) + QLatin1Char('/');
    AbreParaServidor(destino);
    const Instalacao inst(PastaTeste(dir, QStringLiteral("instalacao")));
    inst.GravaConfig("[Sistema]\r\nGBAK=/usr/bin/gbak\r\nOrigem=" + banco.toLocal8Bit() + "\r\nDestino=" + destino.toLocal8Bit()
                     + "\r\nServico=0\r\nSYSDBAPass=" + Cripto("C", "errada") + "\r\n");
    EXPECT_EQ(inst.Executa(), 1);
    const QStringList linhas = inst.LinhasRegistro();
    ASSERT_EQ(linhas.size(), 1);
    EXPECT_TRUE(linhas.first().endsWith(QStringLiteral(" - FALHA - Backup NÃO FOI realizado!"))
                || linhas.first().endsWith(QStringLiteral(" - FALHA - Detectado erro no registro da cópia.")))
        << linhas.first().toStdString();
    EXPECT_EQ(ConteudoPasta(destino).filter(QStringLiteral(".zip")), QStringList());
}

// Several tables: one past gbak's 10000-record progress lines, one empty (which a
// restore does not list), one whose quoted name holds blanks. Firebird's own
// reports name each with its count, and they agree: the run passes.
TEST_F(ExecucaoReal, RestauracaoConfereTabelaATabela)
{
    ASSERT_TRUE(ExecutaSql(banco, "create table pedidos (id integer not null primary key, cliente integer);\n"
                                  "create index pedidos_cliente on pedidos (cliente);\n"
                                  "create table vazia (id integer);\n"
                                  "create table \"Itens do Pedido\" (pedido integer, item varchar(20));\n"
                                  "commit;\n"
                                  "set term ^;\n"
                                  "execute block as declare i integer = 1; begin while (i <= 12345) do begin "
                                  "insert into pedidos values (:i, mod(:i, 100)); i = i + 1; end end^\n"
                                  "set term ;^\n"
                                  "insert into \"Itens do Pedido\" values (1, 'a');\n"
                                  "insert into \"Itens do Pedido\" values (1, 'b');\n"
                                  "insert into \"Itens do Pedido\" values (2, 'c');\n"
                                  "commit;\n"));
    const QString destino = PastaTeste(dir, QStringLiteral("destino")) + QLatin1Char('/');
    AbreParaServidor(destino);
    ExecutaComSucesso("Destino=" + destino.toLocal8Bit() + "\r\n", true, destino);

    // The reports the run judged, made again by the real gbak: what the
    // reconciliation reads from them.
    const QString relatorios = PastaTeste(dir, QStringLiteral("relatorios"));
    AbreParaServidor(relatorios);
    const QString bkp = relatorios + QStringLiteral("/B.bkp");
    const QStringList conta = {QStringLiteral("-user"), QStringLiteral("sysdba"), QStringLiteral("-password"), QStringLiteral("bluefjord")};
    QByteArray eco;
    ASSERT_EQ(::Executa(QStringLiteral("gbak"), conta + QStringList{QStringLiteral("-v"), QStringLiteral("-y"), relatorios + QStringLiteral("/b.log"),
                                                                    QStringLiteral("localhost:") + banco, bkp}, &eco), 0) << eco.constData();
    ASSERT_EQ(::Executa(QStringLiteral("gbak"), conta + QStringList{QStringLiteral("-r"), QStringLiteral("-rep"), QStringLiteral("-v"),
                                                                    QStringLiteral("-y"), relatorios + QStringLiteral("/r.log"), bkp,
                                                                    QStringLiteral("localhost:") + relatorios + QStringLiteral("/R.FDB")}, &eco), 0)
        << eco.constData();
    const QByteArray backup = LeArquivo(relatorios + QStringLiteral("/b.log"));
    const QByteArray restauracao = LeArquivo(relatorios + QStringLiteral("/r.log"));
    QList<ContagemTabela> copiadas = TabelasCopiadas(backup);
    QList<ContagemTabela> restauradas = TabelasRestauradas(restauracao);
    const auto porNome = [](const ContagemTabela& a, const ContagemTabela& b) { return a.tabela < b.tabela; };
    std::sort(copiadas.begin(), copiadas.end(), porNome);
    std::sort(restauradas.begin(), restauradas.end(), porNome);
    EXPECT_EQ(copiadas, (QList<ContagemTabela>{{"CLIENTES", Linhas}, {"ERROR_LOG", 1}, {"Itens do Pedido", 3}, {"PEDIDOS", 12345}, {"VAZIA", 0}}))
        << backup.constData();
    EXPECT_EQ(restauradas, (QList<ContagemTabela>{{"CLIENTES", Linhas}, {"ERROR_LOG", 1}, {"Itens do Pedido", 3}, {"PEDIDOS", 12345}}))
        << restauracao.constData();
    EXPECT_EQ(ConfereRestauracao(backup, restauracao), QString());
}

}
