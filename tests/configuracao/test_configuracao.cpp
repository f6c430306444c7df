#include "apoio/Arquivos.h"
#include "apoio/Texto.h"
#include "configuracao/Configuracao.h"
#include "configuracao/Cripto.h"
#include "plataforma/Erro.h"
#include "configuracao/IniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <functional>
#include <sys/resource.h>

namespace {

// The settings as the settings window writes them, in its order: the 24 it has
// always written, then the administrator's password.
const char* const ChavesJanela[] = {
    "GBAK",      "Host",      "Origem",    "Destino",   "Copias",    "Log",     "Rede",    "Restaura",
    "Servico",   "Alerta",    "EmailSMTP", "EmailUser", "EmailPass", "EmailPort", "EmailAute", "EmailFrom",
    "EmailDest", "EmailAssu", "FTPHost",   "FTPUser",   "FTPPass",   "FTPPort", "FTPDir",  "FTPAtiv",
    "SYSDBAPass",
};

void ComparaExecucao(const Configuracao& a, const Configuracao& b, const char* caso)
{
    EXPECT_EQ(a.Copias, b.Copias) << caso;
    EXPECT_EQ(a.GBAK, b.GBAK) << caso;
    EXPECT_EQ(a.Host, b.Host) << caso;
    EXPECT_EQ(a.Origem, b.Origem) << caso;
    EXPECT_EQ(a.Destino, b.Destino) << caso;
    EXPECT_EQ(a.Log, b.Log) << caso;
    EXPECT_EQ(a.Rede, b.Rede) << caso;
    EXPECT_EQ(a.Restaura, b.Restaura) << caso;
    EXPECT_EQ(a.Servico, b.Servico) << caso;
    EXPECT_EQ(a.Alerta, b.Alerta) << caso;
    EXPECT_EQ(a.EmailDest, b.EmailDest) << caso;
    EXPECT_EQ(a.FTPHost, b.FTPHost) << caso;
}

void ComparaJanela(const Configuracao& a, const Configuracao& b, const char* caso)
{
    EXPECT_EQ(a.GBAK, b.GBAK) << caso;
    EXPECT_EQ(a.Host, b.Host) << caso;
    EXPECT_EQ(a.Origem, b.Origem) << caso;
    EXPECT_EQ(a.Destino, b.Destino) << caso;
    EXPECT_EQ(a.Copias, b.Copias) << caso;
    EXPECT_EQ(a.Log, b.Log) << caso;
    EXPECT_EQ(a.Rede, b.Rede) << caso;
    EXPECT_EQ(a.Restaura, b.Restaura) << caso;
    EXPECT_EQ(a.Servico, b.Servico) << caso;
    EXPECT_EQ(a.Alerta, b.Alerta) << caso;
    EXPECT_EQ(a.EmailSMTP, b.EmailSMTP) << caso;
    EXPECT_EQ(a.EmailUser, b.EmailUser) << caso;
    EXPECT_EQ(a.EmailPass.toHex(), b.EmailPass.toHex()) << caso;
    EXPECT_EQ(a.EmailPort, b.EmailPort) << caso;
    EXPECT_EQ(a.EmailAute, b.EmailAute) << caso;
    EXPECT_EQ(a.EmailFrom, b.EmailFrom) << caso;
    EXPECT_EQ(a.EmailDest, b.EmailDest) << caso;
    EXPECT_EQ(a.EmailAssu, b.EmailAssu) << caso;
    EXPECT_EQ(a.FTPHost, b.FTPHost) << caso;
    EXPECT_EQ(a.FTPUser, b.FTPUser) << caso;
    EXPECT_EQ(a.FTPPass.toHex(), b.FTPPass.toHex()) << caso;
    EXPECT_EQ(a.FTPPort, b.FTPPort) << caso;
    EXPECT_EQ(a.FTPDir, b.FTPDir) << caso;
    EXPECT_EQ(a.FTPAtiv, b.FTPAtiv) << caso;
    EXPECT_EQ(a.SYSDBAPass.toHex(), b.SYSDBAPass.toHex()) << caso;
}

// Bytes 0x01..0xFF but CR and LF, the ones a line can hold.
QByteArray TodosOsBytes()
{
    QByteArray b;
    for (int i = 1; i < 256; ++i)
        if (i != '\r' && i != '\n')
            b += char(i);
    return b;
}

QList<QByteArray> Linhas(const QByteArray& arquivo)
{
    QList<QByteArray> linhas = arquivo.split('\n');
    if (!linhas.isEmpty() && linhas.last().isEmpty())
        linhas.removeLast();
    return linhas;
}

class ConfiguracaoTest : public ComArquivoConfig {
protected:
    void Grava(const QByteArray& conteudo) { ASSERT_TRUE(GravaArquivo(arquivo, conteudo)); }
};

TEST(Configuracao, FileIsCONFIGiniInTheProgramFolder)
{
    EXPECT_EQ(ArquivoConfiguracao(), QCoreApplication::applicationDirPath() + QStringLiteral("/CONFIG.ini"));
}

TEST(Configuracao, NomeBancoIsTheFileNameBeforeItsFirstDot)
{
    struct Caso {
        QString origem;
        QString esperado;
    };
    const Caso casos[] = {
        {QStringLiteral("C:\\Dados\\BASE.FDB"), QStringLiteral("BASE")},
        {QStringLiteral("/srv/db/base.fdb"), QStringLiteral("base")},
        {QStringLiteral("servidor:C:\\Dados\\Loja.GDB"), QStringLiteral("Loja")},
        {QStringLiteral("C:\\Dados/misto\\BASE.FDB"), QStringLiteral("BASE")},
        {QStringLiteral("/srv/db.d/base"), QString()},
        {QStringLiteral("/srv/db/base.2024.fdb"), QStringLiteral("base")},
        {QStringLiteral("BASE.FDB"), QStringLiteral("BASE")},
        {QStringLiteral("BASE"), QString()},
        {QStringLiteral("/srv/db/.fdb"), QString()},
        {QStringLiteral("C:\\Dados\\"), QString()},
        {QString(), QString()},
        {QStringLiteral("C:\\Dados\\Ação.fdb"), QStringLiteral("Ação")},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(NomeBanco(c.origem), c.esperado) << c.origem.toStdString();
}

TEST(Configuracao, ChaveDuracaoJoinsPrefixTagAndName)
{
    EXPECT_EQ(ChaveDuracao("TBckp", QStringLiteral("agendado"), QStringLiteral("BASE")), "TBckpagendadoBASE");
    EXPECT_EQ(ChaveDuracao("TRest", QStringLiteral("manual"), QString()), "TRestmanual");
    EXPECT_EQ(ChaveDuracao("TBckp", QStringLiteral("agendado"), QStringLiteral("Ação")),
              "TBckpagendado" + QStringLiteral("Ação").toLocal8Bit());
}

TEST_F(ConfiguracaoTest, FilesWithoutTheSettingsGiveEveryDefault)
{
    QByteArray lixo;
    for (int i = 0; i < 70000; ++i)
        lixo += char((i * 7919 + i / 13) & 0xFF);
    lixo.replace('[', '#');

    struct Caso {
        const char* nome;
        QByteArray conteudo; // no file when null
    };
    const Caso casos[] = {
        {"no file", QByteArray()},
        {"empty file", ""},
        {"binary garbage", lixo},
        {"NUL bytes", QByteArray(1000, '\0')},
        {"keys without section", "Copias=7\r\nHost=x:\r\nRestaura=0\r\n"},
        {"other section only", "[Outra]\r\nCopias=7\r\nHost=x:\r\n"},
        {"empty section", "[Sistema]\r\n"},
        {"garbled lines", "[Sistema]\r\nCopias\r\nHost\r\n==\r\n[\r\n"},
    };
    for (const Caso& c : casos) {
        QFile::remove(arquivo);
        if (!c.conteudo.isNull())
            Grava(c.conteudo);
        ComparaExecucao(LeConfiguracao(arquivo), Configuracao{}, c.nome);
        ComparaJanela(LeConfiguracao(arquivo), Configuracao{}, c.nome);
    }
    EXPECT_EQ(Configuracao{}.Host, QStringLiteral("localhost:"));
}

TEST_F(ConfiguracaoTest, ReadersTakeEveryKeyFromTheFile)
{
    Grava("[Sistema]\r\n"
          "GBAK=C:\\Firebird\\bin\\gbak.exe\r\nHost=srv/3050:\r\nOrigem=C:\\Dados\\BASE.FDB\r\n"
          "Destino=F:\\Backup\\\r\nCopias=30\r\nLog=F:\\Log\\\r\nRede=\\\\nas\\copias\\\r\n"
          "Restaura=0\r\nServico=0\r\nAlerta=0\r\nEmailSMTP=smtp.x.com\r\nEmailUser=eu\r\n"
          "EmailPass=\x01\xFEz\r\nEmailPort=465\r\nEmailAute=0\r\nEmailFrom=de@x.com\r\n"
          "EmailDest=para@x.com\r\nEmailAssu=Cópia\r\nFTPHost=ftp.x.com\r\nFTPUser=f\r\n"
          "FTPPass=\x7F\x80\r\nFTPPort=2121\r\nFTPDir=/copias\r\nFTPAtiv=1\r\n");

    Configuracao e;
    e.Copias = 30;
    e.GBAK = QStringLiteral("C:\\Firebird\\bin\\gbak.exe");
    e.Host = QStringLiteral("srv/3050:");
    e.Origem = QStringLiteral("C:\\Dados\\BASE.FDB");
    e.Destino = QStringLiteral("F:\\Backup\\");
    e.Log = QStringLiteral("F:\\Log\\");
    e.Rede = QStringLiteral("\\\\nas\\copias\\");
    e.Restaura = e.Servico = e.Alerta = false;
    e.EmailDest = QStringLiteral("para@x.com");
    e.FTPHost = QStringLiteral("ftp.x.com");
    ComparaExecucao(LeConfiguracao(arquivo), e, "execucao");

    Configuracao j;
    j.GBAK = e.GBAK;
    j.Host = e.Host;
    j.Origem = e.Origem;
    j.Destino = e.Destino;
    j.Copias = 30;
    j.Log = e.Log;
    j.Rede = e.Rede;
    j.Restaura = j.Servico = j.Alerta = false;
    j.EmailSMTP = QStringLiteral("smtp.x.com");
    j.EmailUser = QStringLiteral("eu");
    j.EmailPass = Cripto("D", "\x01\xFEz");
    j.EmailPort = QStringLiteral("465");
    j.EmailAute = false;
    j.EmailFrom = QStringLiteral("de@x.com");
    j.EmailDest = e.EmailDest;
    j.EmailAssu = QStringLiteral("Cópia");
    j.FTPHost = e.FTPHost;
    j.FTPUser = QStringLiteral("f");
    j.FTPPass = Cripto("D", "\x7F\x80");
    j.FTPPort = QStringLiteral("2121");
    j.FTPDir = QStringLiteral("/copias");
    j.FTPAtiv = true;
    ComparaJanela(LeConfiguracao(arquivo), j, "janela");
}

TEST_F(ConfiguracaoTest, SingleValuesReadWithTheirRules)
{
    using Exec = std::function<void(const Configuracao&)>;
    using Jan = std::function<void(const Configuracao&)>;
    struct Caso {
        QByteArray linha;
        Exec execucao;
        Jan janela;
    };
    const Caso casos[] = {
        // Present but empty is empty; only an absent key takes the default.
        {"Host=", [](auto& c) { EXPECT_EQ(c.Host, QString()); }, [](auto& c) { EXPECT_EQ(c.Host, QString()); }},
        {"HOST = 'srv:' ", [](auto& c) { EXPECT_EQ(c.Host, QStringLiteral("srv:")); },
         [](auto& c) { EXPECT_EQ(c.Host, QStringLiteral("srv:")); }},
        {"Copias=abc", [](auto& c) { EXPECT_EQ(c.Copias, 365); }, [](auto& c) { EXPECT_EQ(c.Copias, 365); }},
        {"Copias=", [](auto& c) { EXPECT_EQ(c.Copias, 365); }, [](auto& c) { EXPECT_EQ(c.Copias, 365); }},
        {"Copias=0", [](auto& c) { EXPECT_EQ(c.Copias, 0); }, [](auto& c) { EXPECT_EQ(c.Copias, 0); }},
        {"Copias=0x10", [](auto& c) { EXPECT_EQ(c.Copias, 16); }, [](auto& c) { EXPECT_EQ(c.Copias, 16); }},
        {"Copias=7.5", [](auto& c) { EXPECT_EQ(c.Copias, 365); }, [](auto& c) { EXPECT_EQ(c.Copias, 365); }},
        {"Restaura=2", [](auto& c) { EXPECT_TRUE(c.Restaura); }, [](auto& c) { EXPECT_TRUE(c.Restaura); }},
        {"Restaura=-1", [](auto& c) { EXPECT_TRUE(c.Restaura); }, [](auto& c) { EXPECT_TRUE(c.Restaura); }},
        {"Restaura=0", [](auto& c) { EXPECT_FALSE(c.Restaura); }, [](auto& c) { EXPECT_FALSE(c.Restaura); }},
        {"Restaura=true", [](auto& c) { EXPECT_TRUE(c.Restaura); }, [](auto& c) { EXPECT_TRUE(c.Restaura); }},
        {"Restaura=false", [](auto& c) { EXPECT_TRUE(c.Restaura); }, [](auto& c) { EXPECT_TRUE(c.Restaura); }},
        {"Servico=", [](auto& c) { EXPECT_TRUE(c.Servico); }, [](auto& c) { EXPECT_TRUE(c.Servico); }},
        {"Alerta=0", [](auto& c) { EXPECT_FALSE(c.Alerta); }, [](auto& c) { EXPECT_FALSE(c.Alerta); }},
        {"FTPAtiv=yes", nullptr, [](auto& c) { EXPECT_FALSE(c.FTPAtiv); }},
        {"FTPAtiv=1", nullptr, [](auto& c) { EXPECT_TRUE(c.FTPAtiv); }},
        {"EmailAute=0", nullptr, [](auto& c) { EXPECT_FALSE(c.EmailAute); }},
        {"EmailAute=sim", nullptr, [](auto& c) { EXPECT_TRUE(c.EmailAute); }},
        // Ports are shown as typed; only the integer reader turns them into numbers.
        {"EmailPort=0x24B", nullptr, [](auto& c) { EXPECT_EQ(c.EmailPort, QStringLiteral("0x24B")); }},
        {"EmailPort=", nullptr, [](auto& c) { EXPECT_EQ(c.EmailPort, QString()); }},
        {"FTPPort=abc", nullptr, [](auto& c) { EXPECT_EQ(c.FTPPort, QStringLiteral("abc")); }},
        {"EmailPass=\"  \"", nullptr, [](auto& c) { EXPECT_EQ(c.EmailPass, Cripto("D", "  ")); }},
        {"EmailDest=a@x.com;b@y.com", [](auto& c) { EXPECT_EQ(c.EmailDest, QStringLiteral("a@x.com;b@y.com")); },
         [](auto& c) { EXPECT_EQ(c.EmailDest, QStringLiteral("a@x.com;b@y.com")); }},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.linha.constData());
        Grava("[Sistema]\r\n" + c.linha + "\r\n");
        if (c.execucao)
            c.execucao(LeConfiguracao(arquivo));
        c.janela(LeConfiguracao(arquivo));
    }

    Grava("[Sistema]\r\nEmailPort=0x24B\r\n");
    EXPECT_EQ(TIniFile(arquivo).ReadInteger(SecaoSistema, "EmailPort", 0), 587);
}

TEST_F(ConfiguracaoTest, SavingAFreshFileWritesThe24KeysInOrder)
{
    Configuracao v;
    v.Copias = 7;
    v.GBAK = QStringLiteral("/opt/firebird/bin/gbak");
    v.EmailPort = QStringLiteral("0x24B");
    v.FTPAtiv = true;
    v.EmailAute = false;
    GravaConfiguracao(arquivo, v);

    const QList<QByteArray> esperadas = {
        "[Sistema]\r",  "GBAK=/opt/firebird/bin/gbak\r", "Host=localhost:\r", "Origem=\r", "Destino=\r",
        "Copias=7\r",   "Log=\r",        "Rede=\r",      "Restaura=1\r",  "Servico=1\r",  "Alerta=1\r",
        "EmailSMTP=\r", "EmailUser=\r",  "EmailPass=\r", "EmailPort=0x24B\r", "EmailAute=0\r", "EmailFrom=\r",
        "EmailDest=\r", "EmailAssu=\r",  "FTPHost=\r",   "FTPUser=\r",    "FTPPass=\r",   "FTPPort=21\r",
        "FTPDir=\r",    "FTPAtiv=1\r",  "SYSDBAPass=" + Cripto("C", "bluefjord") + '\r',
    };
    EXPECT_EQ(Linhas(LeArquivo(arquivo)), esperadas);
    ASSERT_EQ(esperadas.size(), 1 + std::size(ChavesJanela));
    for (size_t i = 0; i < std::size(ChavesJanela); ++i)
        EXPECT_TRUE(esperadas[qsizetype(i) + 1].startsWith(QByteArray(ChavesJanela[i]) + '='));
    EXPECT_EQ(NomesDasChaves().size(), qsizetype(std::size(ChavesJanela)));
}

TEST_F(ConfiguracaoTest, SavingKeepsDurationsAndEverythingElseInPlace)
{
    const QByteArray antes = "; mantido\r\n"
                             "[Sistema]\r\n"
                             "TBckpagendadoBASE=123\r\n"
                             "Host=velho:\r\n"
                             "TRestagendadoBASE=4567\r\n"
                             "Copias=10\r\n"
                             "Extra=fica\r\n"
                             "\r\n"
                             "[Outra]\r\n"
                             "Host=nao mexe\r\n";
    Grava(antes);
    Configuracao v;
    v.Host = QStringLiteral("novo:");
    v.Copias = 3;
    GravaConfiguracao(arquivo, v);

    const QList<QByteArray> linhas = Linhas(LeArquivo(arquivo));
    // Existing keys changed where they stood; the new ones follow "Extra", in the
    // window's order, before the blank line that ends the section.
    QList<QByteArray> esperadas = {"; mantido\r", "[Sistema]\r", "TBckpagendadoBASE=123\r", "Host=novo:\r",
                                   "TRestagendadoBASE=4567\r", "Copias=3\r", "Extra=fica\r"};
    for (const char* chave : ChavesJanela) {
        if (qstrcmp(chave, "Host") == 0 || qstrcmp(chave, "Copias") == 0)
            continue;
        const QByteArray valor = TIniFile(arquivo).ReadString(SecaoSistema, chave, "?");
        esperadas << QByteArray(chave) + '=' + valor + '\r';
    }
    esperadas << "\r" << "[Outra]\r" << "Host=nao mexe\r";
    EXPECT_EQ(linhas, esperadas);

    const TIniFile ini(arquivo);
    EXPECT_EQ(ini.ReadString(SecaoSistema, ChaveDuracao("TBckp", QStringLiteral("agendado"), QStringLiteral("BASE")), ""),
              "123");
    EXPECT_EQ(ini.ReadString(SecaoSistema, ChaveDuracao("TRest", QStringLiteral("agendado"), QStringLiteral("BASE")), ""),
              "4567");
}

TEST_F(ConfiguracaoTest, EverySettingSurvivesSaveAndLoad)
{
    const QByteArray bytes = TodosOsBytes();
    QByteArray invertidos = bytes;
    std::reverse(invertidos.begin(), invertidos.end());

    Configuracao v;
    v.GBAK = QStringLiteral("C:\\Program Files\\Firebird\\bin\\gbak.exe");
    v.Host = QStringLiteral("192.168.0.10/3050:");
    v.Origem = QStringLiteral("C:\\Dados\\Emissão.FDB");
    v.Destino = QStringLiteral("F:\\Cópias\\");
    v.Copias = 0;
    v.Log = QStringLiteral("/var/log/vaultrun/");
    v.Rede = QStringLiteral("\\\\nas\\backup\\");
    v.Restaura = false;
    v.Servico = false;
    v.Alerta = false;
    v.EmailSMTP = QStringLiteral("smtp.exemplo.com.br");
    v.EmailUser = QStringLiteral("usuário");
    v.EmailPass = bytes;
    v.EmailPort = QStringLiteral("0x24B");
    v.EmailAute = false;
    v.EmailFrom = QStringLiteral("Backup <backup@exemplo.com.br>");
    v.EmailDest = QStringLiteral("a@x.com; b@y.com");
    v.EmailAssu = QStringLiteral("  Relatório \"diário\"  ");
    v.FTPHost = QStringLiteral("ftp.exemplo.com.br");
    v.FTPUser = QStringLiteral("ftp");
    v.FTPPass = invertidos;
    v.FTPPort = QStringLiteral("2121");
    v.FTPDir = QStringLiteral("/copias/base");
    v.FTPAtiv = true;

    const Configuracao original = v;
    GravaConfiguracao(arquivo, v);
    ComparaJanela(v, original, "nothing here needs completing");
    ComparaJanela(LeConfiguracao(arquivo), original, "first load");

    // A second save over the file changes nothing.
    const QByteArray primeiro = LeArquivo(arquivo);
    Configuracao lido = LeConfiguracao(arquivo);
    GravaConfiguracao(arquivo, lido);
    EXPECT_EQ(LeArquivo(arquivo), primeiro);

    Configuracao e = LeConfiguracao(arquivo);
    EXPECT_EQ(e.Copias, 0);
    EXPECT_EQ(e.Origem, original.Origem);
    EXPECT_EQ(e.Destino, original.Destino);
    EXPECT_FALSE(e.Restaura);
    EXPECT_EQ(e.EmailDest, original.EmailDest);
}

TEST_F(ConfiguracaoTest, SavingCompletesHostAndFolders)
{
    const QString sep = QDir::separator();
    struct Caso {
        QString Host, Destino, Log, Rede;       // as typed
        QString HostE, DestinoE, LogE, RedeE;   // after saving
    };
    const Caso casos[] = {
        {"srv/3050", "/mnt/backup", "/var/log", "//nas/c",
         "srv/3050:", "/mnt/backup" + sep, "/var/log" + sep, "//nas/c" + sep},
        {"localhost:", "F:\\Backup\\", "/var/log/", "\\\\nas\\c\\",
         "localhost:", "F:\\Backup\\", "/var/log/", "\\\\nas\\c\\"},
        {"", "", "", "", "", "", "", ""},
        {"srv:3050", "F:\\Backup", "x", "F:", "srv:3050:", "F:\\Backup" + sep, "x" + sep, "F:" + sep},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE((c.Host + '|' + c.Destino + '|' + c.Log + '|' + c.Rede).toStdString());
        Configuracao v;
        v.Host = c.Host;
        v.Destino = c.Destino;
        v.Log = c.Log;
        v.Rede = c.Rede;
        GravaConfiguracao(arquivo, v);
        EXPECT_EQ(v.Host, c.HostE);
        EXPECT_EQ(v.Destino, c.DestinoE);
        EXPECT_EQ(v.Log, c.LogE);
        EXPECT_EQ(v.Rede, c.RedeE);

        const QList<QByteArray> linhas = Linhas(LeArquivo(arquivo));
        EXPECT_TRUE(linhas.contains("Host=" + c.HostE.toLocal8Bit() + '\r'));
        EXPECT_TRUE(linhas.contains("Destino=" + c.DestinoE.toLocal8Bit() + '\r'));
        EXPECT_TRUE(linhas.contains("Log=" + c.LogE.toLocal8Bit() + '\r'));
        EXPECT_TRUE(linhas.contains("Rede=" + c.RedeE.toLocal8Bit() + '\r'));
    }
}

TEST_F(ConfiguracaoTest, RefusedSaveThrowsWithTheFileName)
{
    const QString semPasta = dir.path() + QStringLiteral("/falta//CONFIG.ini");
    Configuracao v;
    try {
        GravaConfiguracao(semPasta, v);
        ADD_FAILURE() << "no exception";
    } catch (const Erro& e) {
        EXPECT_EQ(e.texto(), QStringLiteral("Impossível gravar para ") + semPasta);
    }
    EXPECT_FALSE(QFileInfo::exists(dir.path() + QStringLiteral("/falta")));
}

TEST_F(ConfiguracaoTest, DiskFullHalfwayKeepsTheKeysAlreadySaved)
{
    const QByteArray antes = "[Sistema]\r\nTBckpagendadoBASE=99\r\n";
    Grava(antes);
    Configuracao v;
    v.GBAK = QStringLiteral("gbak");

    // Room for a few keys only.
    bool lancou = false;
    {
        LimiteDeArquivo limite(120);
        try {
            GravaConfiguracao(arquivo, v);
        } catch (const Erro& e) {
            lancou = e.texto() == QStringLiteral("Impossível gravar para ") + arquivo;
        }
    }
    EXPECT_TRUE(lancou);

    const QByteArray depois = LeArquivo(arquivo);
    EXPECT_LE(depois.size(), 120);
    EXPECT_TRUE(depois.startsWith("[Sistema]\r\nTBckpagendadoBASE=99\r\nGBAK=gbak\r\nHost=localhost:\r\n"))
        << depois.constData();
    EXPECT_TRUE(depois.endsWith("\r\n")) << "each saved state is a whole file";
    const TIniFile ini(arquivo);
    EXPECT_EQ(ini.ReadString(SecaoSistema, "GBAK", "?"), "gbak");
    EXPECT_EQ(ini.ReadString(SecaoSistema, "FTPAtiv", "?"), "?");
}

} // namespace
