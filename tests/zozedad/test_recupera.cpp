// The restore window against the real Firebird server and gbak: backups and the
// runner's archives restored over an existing database, rows counted after; a
// backup that does not restore leaves the database as it was. The stand-in gbak
// plays only the faults the real one cannot show on demand.
#include "Dialogos.h"
#include "Un_Principal.h"
#include "Un_Recupera.h"
#include "apoio/Arquivos.h"
#include "apoio/Firebird.h"
#include "apoio/Instalacao.h"
#include "apoio/Processos.h"
#include "apoio/Texto.h"
#include "arquivos/Compacta.h"
#include "core/Restauracao.h"
#include "janelas/TFilenameEdit.h"
#include "plataforma/Plataforma.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int LinhasBackup = 250;
constexpr int LinhasExistentes = 100;
const QString Sim = QStringLiteral("&SIM, processar arquivo.");
const QString VerificarProcesso = QStringLiteral("&Verificar processo.");
const QString AlertaFalha = QStringLiteral("ATENÇÃO ! Falha na execução da rotina !\nEntre em contato com a Ardenza "
                                           "Informática para análise do registro de backup.");

// Sets an environment variable for the stand-in for one scope.
class Variavel {
public:
    Variavel(const char* nome, const QByteArray& valor) : nome_(nome) { qputenv(nome, valor); }
    ~Variavel() { qunsetenv(nome_); }

private:
    const char* nome_;
};

class Recupera : public ::testing::Test {
protected:
    // One real backup of a database of LinhasBackup rows, shared by the tests.
    static inline std::unique_ptr<QTemporaryDir> origem;
    static inline QString backupReal;

    static void SetUpTestSuite()
    {
        origem = std::make_unique<QTemporaryDir>();
        AbreParaServidor(origem->path());
        const QString banco = PastaTeste(*origem, QStringLiteral("origem")) + QStringLiteral("/ORIGEM.FDB");
        CriaBanco(banco, LinhasBackup);
        backupReal = origem->path() + QStringLiteral("/origem/ORIGEM.bkp");
        QByteArray saida;
        ASSERT_EQ(Executa(QStringLiteral("gbak"),
                          {QStringLiteral("-b"), QStringLiteral("-user"), QStringLiteral("sysdba"), QStringLiteral("-password"),
                           QStringLiteral("bluefjord"), QStringLiteral("localhost:") + banco, backupReal},
                          &saida),
                  0)
            << saida.constData();
    }
    static void TearDownTestSuite() { origem.reset(); }

    QTemporaryDir dir;
    QString programa;  // restore.log and Restaura
    std::unique_ptr<TFm_Principal> principal;

    void SetUp() override
    {
        QApplication::setQuitOnLastWindowClosed(false);
        AbreParaServidor(dir.path());
        programa = PastaTeste(dir, QStringLiteral("programa")) + QLatin1Char('/');
        principal = std::make_unique<TFm_Principal>(programa + QStringLiteral("CONFIG.ini"), programa);
        principal->EdGBak->setText(LocalizaPrograma(QStringLiteral("gbak")));
        principal->EdHost->setText(QStringLiteral("localhost:"));
        principal->EdSYSDBAPass->setText(QStringLiteral("bluefjord"));
    }

    // A database of LinhasExistentes rows in a folder of the scratch folder.
    QString BancoExistente(const QString& sub)
    {
        const QString banco = PastaTeste(dir, sub) + QStringLiteral("/BASE.FDB");
        AbreParaServidor(QFileInfo(banco).absolutePath());
        CriaBanco(banco, LinhasExistentes);
        return banco;
    }

    // The shared backup copied into a folder, or packed there as the runner packs it.
    QString Backup(const QString& sub, bool compactado)
    {
        const QString arquivo = PastaTeste(dir, sub) + QStringLiteral("/BASE-01-02-2024-0930.bkp");
        EXPECT_TRUE(QFile::copy(backupReal, arquivo));
        if (!compactado)
            return arquivo;
        Compacta(arquivo, arquivo + QStringLiteral(".zip"));
        return arquivo + QStringLiteral(".zip");
    }

    TFm_Recupera& Janela() { return *principal->Fm_Recupera; }

    // Opens the restore window as the settings window does, names the files and
    // presses "Recuperar backup", answering the dialogs.
    QStringList Restaura(const QString& backup, const QString& banco, const QStringList& respostas)
    {
        principal->EdBase->setText(banco);
        TFm_Recupera& r = Janela();
        r.show();
        r.FeBackup->setText(backup);
        RespondeDialogos dialogos(respostas);
        r.BitBtn1->click();
        EXPECT_TRUE(dialogos.inesperados.isEmpty()) << dialogos.inesperados.join(QLatin1Char('|')).toStdString();
        return dialogos.mensagens;
    }

    void ConfereSucesso()
    {
        TFm_Recupera& r = Janela();
        EXPECT_EQ(r.LbCopia->text(), QStringLiteral("[ Backup Restaurado. ]")) << r.Memo1->toPlainText().toStdString();
        EXPECT_FALSE(r.BitBtn1->isVisible());
        EXPECT_TRUE(r.BitBtn2->isVisible());
        EXPECT_FALSE(r.Memo1->isVisible());
    }

    // "[ FALHA ]" in red, the alert, and the log filling the window.
    void ConfereFalha(const QStringList& mensagens, const QString& noRegistro)
    {
        TFm_Recupera& r = Janela();
        EXPECT_EQ(r.LbCopia->text(), QStringLiteral("[ FALHA ]"));
        EXPECT_TRUE(r.LbCopia->styleSheet().contains(QStringLiteral("#ff0000")));
        EXPECT_EQ(mensagens.value(1), AlertaFalha);
        EXPECT_TRUE(r.Memo1->isVisible());
        EXPECT_FALSE(r.BitBtn1->isVisible());
        EXPECT_FALSE(r.BitBtn2->isVisible());
        EXPECT_TRUE(r.Memo1->toPlainText().contains(noRegistro)) << r.Memo1->toPlainText().toStdString();
    }
};

struct CasoCaminho {
    const char* nome;
    const char* pastaBackup;
    const char* pastaBanco;
    bool compactado;
};

void PrintTo(const CasoCaminho& caso, std::ostream* os) { *os << caso.nome; }

class RecuperaCaminhos : public Recupera, public ::testing::WithParamInterface<CasoCaminho> {};

// The backup or the runner's archive replaces the existing database, wherever the
// files are.
TEST_P(RecuperaCaminhos, SubstituiABaseExistente)
{
    const CasoCaminho& caso = GetParam();
    const QString banco = BancoExistente(QString::fromUtf8(caso.pastaBanco));
    const QString backup = Backup(QString::fromUtf8(caso.pastaBackup), caso.compactado);
    // Leftovers of an earlier unpacking go before this one.
    ASSERT_TRUE(QDir().mkpath(programa + QStringLiteral("Restaura")));
    ASSERT_TRUE(GravaArquivo(programa + QStringLiteral("Restaura/velho.bkp"), "resto"));

    Restaura(backup, banco, {Sim});
    ConfereSucesso();
    EXPECT_EQ(ContaClientes(banco), LinhasBackup);
    EXPECT_FALSE(QFile::exists(BancoProvisorio(banco))) << "the scratch database stays behind";
    EXPECT_TRUE(QFile::exists(programa + QStringLiteral("restore.log")));
    if (caso.compactado)
        EXPECT_EQ(ConteudoPasta(programa + QStringLiteral("Restaura")), QStringList{QStringLiteral("BASE-01-02-2024-0930.bkp")});
    else
        EXPECT_FALSE(QFile::exists(programa + QStringLiteral("Restaura/BASE-01-02-2024-0930.bkp"))) << "a plain backup is no archive";
}

INSTANTIATE_TEST_SUITE_P(
    Casos, RecuperaCaminhos,
    ::testing::Values(CasoCaminho{"Backup", "copias", "dados", false},
                      CasoCaminho{"ArquivoDoExecutor", "copias", "dados", true},
                      CasoCaminho{"BackupComBrancos", "com espaço/cópias x", "base com espaço", false},
                      CasoCaminho{"ArquivoComBrancos", "com espaço", "base com espaço", true},
                      CasoCaminho{"PastaComPontoZ", "dados.zona", "dados", false}),
    [](const ::testing::TestParamInfo<CasoCaminho>& i) { return std::string(i.param.nome); });

TEST_F(Recupera, BackupDanificadoMantemABase)
{
    const QString banco = BancoExistente(QStringLiteral("dados"));
    const QString backup = Backup(QStringLiteral("copias"), false);
    QByteArray bytes = LeArquivo(backup);
    ASSERT_TRUE(GravaArquivo(backup, bytes.left(bytes.size() / 2)));

    const QStringList mensagens = Restaura(backup, banco, {Sim, VerificarProcesso});
    ConfereFalha(mensagens, QStringLiteral("a base de dados existente não foi alterada"));
    EXPECT_TRUE(Janela().Memo1->toPlainText().contains(QStringLiteral("gbak:"))) << "gbak's report is shown";
    EXPECT_EQ(ContaClientes(banco), LinhasExistentes);
    EXPECT_FALSE(QFile::exists(BancoProvisorio(banco)));
}

TEST_F(Recupera, UltimoAvisoRecusadoNadaMuda)
{
    const QString banco = BancoExistente(QStringLiteral("dados"));
    const QStringList mensagens = Restaura(Backup(QStringLiteral("copias"), false), banco,
                                           {QStringLiteral("&Não! Verificar informações.")});
    EXPECT_EQ(mensagens, QStringList{QStringLiteral("ATENÇÃO! ÚLTIMO AVISO !!!\n\nEstá rotina irá DESTRUIR a base "
                                                    "existente, sobrepondo com a base recuperada de um backup.\n\n"
                                                    "Você tem CERTEZA que deseja continuar?")});
    EXPECT_TRUE(Janela().BitBtn1->isVisible());
    EXPECT_TRUE(Janela().BitBtn2->isVisible());
    EXPECT_EQ(Janela().LbCopia->text(), QString());
    EXPECT_FALSE(QFile::exists(programa + QStringLiteral("restore.log")));
    EXPECT_EQ(ContaClientes(banco), LinhasExistentes);
}

// Faults the real gbak cannot show on demand, and bad input: each ends in
// "[ FALHA ]" with a clear text, and the database file stays byte for byte.
TEST_F(Recupera, FalhasDaoTextoClaroEMantemABase)
{
    const QString banco = PastaTeste(dir, QStringLiteral("dados")) + QStringLiteral("/BASE.FDB");
    const QByteArray original = "the existing database";
    const struct {
        const char* nome;
        QString gbak;
        QByteArray modos;
        QString backup;
        const char* texto;
    } casos[] = {
        {"gbak ausente", programa + QStringLiteral("nao_existe/gbak"), "", Backup(QStringLiteral("a"), false),
         "Não foi possível executar a ferramenta gbak"},
        {"código de erro", GbakFalso(), "codigo_restauracao=3", Backup(QStringLiteral("b"), false),
         "O gbak terminou com o código de erro 3."},
        {"sem registro", GbakFalso(), "sem_log_restauracao", Backup(QStringLiteral("c"), false), "O gbak não gerou o registro"},
        {"erro no registro", GbakFalso(), "erro_restauracao", Backup(QStringLiteral("d"), false),
         "gbak: error: restore failed"},
        {"backup ausente", GbakFalso(), "", programa + QStringLiteral("nao_existe.bkp"), "Arquivo de backup não encontrado"},
        {"arquivo danificado", GbakFalso(), "", QString(), "Não foi possível descompactar"},
    };
    const QString danificado = PastaTeste(dir, QStringLiteral("e")) + QStringLiteral("/BASE.bkp.zip");
    ASSERT_TRUE(GravaArquivo(danificado, QByteArray("PK\x03\x04", 4) + QByteArray(64, 'x')));
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.nome);
        ASSERT_TRUE(GravaArquivo(banco, original));
        const Variavel modos("GBAK_FALSO", caso.modos);
        principal->EdGBak->setText(caso.gbak);
        const QStringList mensagens =
            Restaura(caso.backup.isEmpty() ? danificado : caso.backup, banco, {Sim, VerificarProcesso});
        ConfereFalha(mensagens, QString::fromUtf8(caso.texto));
        EXPECT_EQ(LeArquivo(banco), original);
        Janela().close();
    }
}

// The account reaches gbak through its environment only; every path is one
// argument, blanks and all; the backup is proved in the scratch database before
// the database is replaced.
TEST_F(Recupera, ContaPeloAmbienteECaminhosInteiros)
{
    const QString args = programa + QStringLiteral("args.txt");
    const Variavel registro("GBAK_FALSO_ARGS", QFile::encodeName(args));
    principal->EdGBak->setText(GbakFalso());
    principal->EdSYSDBAPass->setText(QStringLiteral("s3nhá secreta"));
    principal->EdHost->setText(QStringLiteral("srv"));  // typed, not saved: no colon
    const QString banco = PastaTeste(dir, QStringLiteral("base x")) + QStringLiteral("/BASE 1.FDB");
    const QString backup = Backup(QStringLiteral("cópias y"), false);
    principal->EdBase->setText(banco);
    Janela().show();
    Janela().CheckBox1->setChecked(true);
    Restaura(QLatin1Char('"') + backup + QLatin1Char('"'), banco, {Sim});
    ConfereSucesso();
    EXPECT_EQ(Janela().FeBackup->text(), backup) << "the quotes are dropped from the box";

    const QString log = programa + QStringLiteral("restore.log");
    auto chamada = [&](const QString& destino) {
        return QStringList{QStringLiteral("ISC_USER=SYSDBA"), QStringLiteral("ISC_PASSWORD=s3nhá secreta"),
                           QStringLiteral("-r"), QStringLiteral("-rep"), QStringLiteral("-v"), QStringLiteral("-y"), log,
                           QStringLiteral("-p"), QStringLiteral("4096"), QStringLiteral("-fix_fss_m"),
                           QStringLiteral("ISO8859_1"), backup, QStringLiteral("srv") + destino, QString()};
    };
    const QStringList esperado = chamada(BancoProvisorio(banco)) + chamada(banco);
    EXPECT_EQ(QString::fromUtf8(LeArquivo(args)).split(QLatin1Char('\n')).mid(0, esperado.size()), esperado);
}

// The proof passed but the restore over the database failed: the database may be
// half written, so the proven copy beside it is kept and named.
TEST_F(Recupera, RestauracaoFinalQueFalhaMantemACopiaValidada)
{
    const QString banco = PastaTeste(dir, QStringLiteral("dados")) + QStringLiteral("/BASE.FDB");
    ASSERT_TRUE(GravaArquivo(banco, "the existing database"));
    const Variavel modos("GBAK_FALSO", "erro_restauracao_final");
    principal->EdGBak->setText(GbakFalso());
    principal->EdHost->setText(QString());  // a local path: the stand-in writes where gbak would
    const QStringList mensagens = Restaura(Backup(QStringLiteral("copias"), false), banco, {Sim, VerificarProcesso});
    ConfereFalha(mensagens, QStringLiteral("A base restaurada e validada foi mantida em ") + BancoProvisorio(banco));
    EXPECT_EQ(LeArquivo(BancoProvisorio(banco)), QByteArray("restored database\n"));
}

TEST_F(Recupera, DepoisDaFalhaAJanelaVoltaAoNormal)
{
    const QString banco = PastaTeste(dir, QStringLiteral("dados")) + QStringLiteral("/BASE.FDB");
    const Variavel modos("GBAK_FALSO", "erro_restauracao");
    principal->EdGBak->setText(GbakFalso());
    Restaura(Backup(QStringLiteral("copias"), false), banco, {Sim, VerificarProcesso});
    ASSERT_TRUE(Janela().Memo1->isVisible());
    Janela().close();
    Janela().show();
    EXPECT_FALSE(Janela().Memo1->isVisible());
    EXPECT_TRUE(Janela().BitBtn1->isVisible());
    EXPECT_TRUE(Janela().BitBtn2->isVisible());
    EXPECT_EQ(Janela().LbCopia->text(), QString());
    EXPECT_EQ(Janela().FeBackup->text(), QString());
    EXPECT_TRUE(Janela().LbCopia->styleSheet().contains(QStringLiteral("#008000"))) << "a new restore starts green";
}

}  // namespace
