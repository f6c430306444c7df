#include "apoio/Arquivos.h"
#include "apoio/Texto.h"
#include "plataforma/Erro.h"
#include "configuracao/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

const QByteArray S("Sistema");

class IniFileTest : public ComArquivoConfig {
protected:
    QByteArray Le(const QByteArray& conteudo, const QByteArray& chave, const QByteArray& padrao = "DEF")
    {
        EXPECT_TRUE(GravaArquivo(arquivo, conteudo));
        return TIniFile(arquivo).ReadString(S, chave, padrao);
    }

    QStringList ArquivosDaPasta() const
    {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};

TEST_F(IniFileTest, ReadStringFindsValueAsTheProfileReaderDoes)
{
    struct Caso {
        const char* nome;
        QByteArray conteudo;
        QByteArray chave;
        QByteArray esperado;
    };
    const Caso casos[] = {
        {"plain", "[Sistema]\r\nHost=srv:\r\n", "Host", "srv:"},
        {"LF line ends", "[Sistema]\nA=1\nHost=srv:\nB=2\n", "Host", "srv:"},
        {"no line end at file end", "[Sistema]\r\nHost=srv:", "Host", "srv:"},
        {"blanks around key and value", "[Sistema]\r\n  Host \t=  srv : \t\r\n", "Host", "srv :"},
        {"double quotes removed", "[Sistema]\r\nHost=\" a b \"\r\n", "Host", " a b "},
        {"single quotes removed", "[Sistema]\r\nHost='a b'\r\n", "Host", "a b"},
        {"quotes after trimming", "[Sistema]\r\nHost=  'x'  \r\n", "Host", "x"},
        {"only one pair removed", "[Sistema]\r\nHost=\"\"x\"\"\r\n", "Host", "\"x\""},
        {"mismatched quotes kept", "[Sistema]\r\nHost=\"abc'\r\n", "Host", "\"abc'"},
        {"lone quote kept", "[Sistema]\r\nHost=\"\r\n", "Host", "\""},
        {"empty quotes", "[Sistema]\r\nHost=\"\"\r\n", "Host", ""},
        {"present but empty is not the default", "[Sistema]\r\nHost=\r\n", "Host", ""},
        {"blank value is empty", "[Sistema]\r\nHost=   \r\n", "Host", ""},
        {"value keeps later '='", "[Sistema]\r\nHost=a=b\r\n", "Host", "a=b"},
        {"key case ignored", "[Sistema]\r\nhOST=x\r\n", "Host", "x"},
        {"section case and blanks ignored", " [  sISTEMA ] \r\nHost=x\r\n", "Host", "x"},
        {"UTF-8 mark before the section", "\xEF\xBB\xBF[Sistema]\r\nHost=x\r\n", "Host", "x"},
        {"first duplicate wins", "[Sistema]\r\nHost=um\r\nHost=dois\r\n", "Host", "um"},
        {"after other sections", "[Outra]\r\nHost=no\r\n[Sistema]\r\nHost=yes\r\n", "Host", "yes"},
        {"NUL bytes kept", QByteArray("[Sistema]\r\nHost=a\0b\r\n", 19), "Host", QByteArray("a\0b", 3)},
        {"high bytes kept", "[Sistema]\r\nHost=\xC3\xA7\xFF\r\n", "Host", "\xC3\xA7\xFF"},
        {"lone CR at file end dropped", "[Sistema]\r\nHost=x\r", "Host", "x"},
        // Absent: every one of these gives the default.
        {"no file content", "", "Host", "DEF"},
        {"no section", "Host=x\r\n", "Host", "DEF"},
        {"key before the section", "Host=x\r\n[Sistema]\r\nA=1\r\n", "Host", "DEF"},
        {"key in another section", "[Sistema]\r\nA=1\r\n[Outra]\r\nHost=x\r\n", "Host", "DEF"},
        {"line without '='", "[Sistema]\r\nHost\r\n", "Host", "DEF"},
        {"key is a prefix only", "[Sistema]\r\nHostname=x\r\n", "Host", "DEF"},
        {"section name is a prefix only", "[Sistema2]\r\nHost=x\r\n", "Host", "DEF"},
        {"header without ']' is not a section", "[Sistema\r\nHost=x\r\n", "Host", "DEF"},
        {"only the first section of a name counts", "[Sistema]\r\nA=1\r\n[Sistema]\r\nHost=x\r\n", "Host", "DEF"},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(Le(c.conteudo, c.chave), c.esperado) << c.nome;
}

TEST_F(IniFileTest, ReadStringKeepsAtMost2047Bytes)
{
    struct Caso {
        QByteArray valorNoArquivo;
        QByteArray esperado;
    };
    const QByteArray x2047(2047, 'x');
    const Caso casos[] = {
        {x2047, x2047},
        {QByteArray(2048, 'x'), x2047},
        {QByteArray(100000, 'x'), x2047},
        {'"' + x2047 + '"', x2047},
        {'"' + QByteArray(3000, 'y') + '"', QByteArray(2047, 'y')},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(Le("[Sistema]\r\nK=" + c.valorNoArquivo + "\r\n", "K"), c.esperado) << c.valorNoArquivo.size();
}

TEST_F(IniFileTest, MissingFileGivesDefaultsAndIsNotCreated)
{
    const TIniFile ini(arquivo);
    EXPECT_EQ(ini.ReadString(S, "Host", "localhost:"), "localhost:");
    EXPECT_EQ(ini.ReadInteger(S, "Copias", 365), 365);
    EXPECT_TRUE(ini.ReadBool(S, "Restaura", true));
    EXPECT_FALSE(ini.ReadBool(S, "FTPAtiv", false));
    EXPECT_FALSE(QFileInfo::exists(arquivo));

    // A folder where the file should be reads as no file.
    const TIniFile pasta(dir.path());
    EXPECT_EQ(pasta.ReadString(S, "Host", "d"), "d");
}

TEST_F(IniFileTest, MalformedFilesReadAsDefaultsAndStillTakeWrites)
{
    QRandomGenerator gerador(20240611);
    QByteArray lixo(256 * 1024, '\0');
    for (char& c : lixo)
        c = char(gerador.bounded(256));
    // Random bytes with the section-opening byte removed, so the garbage cannot
    // contain a header by chance.
    lixo.replace('[', 'x');

    struct Caso {
        const char* nome;
        QByteArray conteudo;
    };
    const Caso casos[] = {
        {"random bytes", lixo},
        {"NUL bytes only", QByteArray(4096, '\0')},
        {"one 8 MB line", QByteArray(8 * 1024 * 1024, 'a')},
        {"8 MB line of '='", QByteArray(8 * 1024 * 1024, '=')},
        {"many empty lines", QByteArray(100000, '\n')},
        {"bare CRs", QByteArray(1000, '\r')},
        {"brackets", "[\r\n]\r\n[]\r\n[[]]\r\n=\r\n==\r\n"},
        {"keys without section", "Copias=7\r\nHost=x\r\n"},
    };
    for (const Caso& c : casos) {
        ASSERT_TRUE(GravaArquivo(arquivo, c.conteudo)) << c.nome;
        TIniFile ini(arquivo);
        EXPECT_EQ(ini.ReadString(S, "Host", "DEF"), "DEF") << c.nome;
        EXPECT_EQ(ini.ReadInteger(S, "Copias", 365), 365) << c.nome;
        EXPECT_TRUE(ini.ReadBool(S, "Restaura", true)) << c.nome;

        ini.WriteString(S, "Host", "novo:");
        EXPECT_EQ(ini.ReadString(S, "Host", "DEF"), "novo:") << c.nome;
        const QByteArray depois = LeArquivo(arquivo);
        EXPECT_TRUE(depois.startsWith(c.conteudo)) << c.nome << ": the old bytes must stay";
        EXPECT_TRUE(depois.endsWith("[Sistema]\r\nHost=novo:\r\n")) << c.nome;
    }
}

TEST(LeInteiro, ReadsDecimalAndHexadecimalElseDefault)
{
    struct Caso {
        QByteArray texto;
        int esperado;
    };
    const int d = -777;
    const Caso casos[] = {
        {"7", 7},
        {"0", 0},
        {"-3", -3},
        {"+5", 5},
        {"007", 7},
        {"00000000000000000000042", 42},
        {" 42\t", 42},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"2147483648", d},
        {"-2147483649", d},
        {"99999999999999999999", d},
        {"0x24B", 587},
        {"0X1f", 31},
        {"0x0", 0},
        {"0x7FFFFFFF", INT_MAX},
        {"0xFFFFFFFF", -1},
        {"0x00000000FF", 255},
        {"0x100000000", d},
        {"0x", d},
        {"0xG", d},
        {"0x-1", d},
        {"-0x10", d},
        {"x10", d},
        {"", d},
        {"   ", d},
        {"-", d},
        {"+", d},
        {"abc", d},
        {"12abc", d},
        {"1 2", d},
        {"1.5", d},
        {"--1", d},
        {"true", d},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(LeInteiro(c.texto, d), c.esperado) << '"' << c.texto.constData() << '"';
}

TEST_F(IniFileTest, ReadIntegerAndReadBoolGoThroughTheValueText)
{
    struct Caso {
        QByteArray linha; // absent when empty
        int inteiro;      // ReadInteger with default 365
        bool boolVerdade; // ReadBool with default true
        bool boolFalso;   // ReadBool with default false
    };
    const Caso casos[] = {
        {"", 365, true, false},
        {"K=", 365, true, false},
        {"K=0", 0, false, false},
        {"K=1", 1, true, true},
        {"K=2", 2, true, true},
        {"K=-1", -1, true, true},
        {"K=0x24B", 587, true, true},
        {"K=\"0x10\"", 16, true, true},
        {"K= 7 ", 7, true, true},
        {"K=abc", 365, true, false},
        {"K=true", 365, true, false},
        {"K=yes", 365, true, false},
        {"K=false", 365, true, false},
    };
    for (const Caso& c : casos) {
        ASSERT_TRUE(GravaArquivo(arquivo, "[Sistema]\r\n" + c.linha + "\r\n"));
        const TIniFile ini(arquivo);
        EXPECT_EQ(ini.ReadInteger(S, "K", 365), c.inteiro) << c.linha.constData();
        EXPECT_EQ(ini.ReadBool(S, "K", true), c.boolVerdade) << c.linha.constData();
        EXPECT_EQ(ini.ReadBool(S, "K", false), c.boolFalso) << c.linha.constData();
    }
}

TEST(TextoFlutuante, WholeNumbersAsPlainDigitsOthersShortest)
{
    struct Caso {
        double valor;
        QByteArray esperado;
    };
    const Caso casos[] = {
        {7, "7"},
        {-3, "-3"},
        {0, "0"},
        {-0.0, "0"},
        {365, "365"},
        {2147483648.0, "2147483648"},
        {123456789012345.0, "123456789012345"},
        {2.5, "2.5"},
        {-0.75, "-0.75"},
        {0.1, "0.1"},
        {1.0 / 3.0, "0.3333333333333333"},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(TextoFlutuante(c.valor), c.esperado) << c.valor;

    // Whatever the form, the text reads back as the same number with '.' decimals.
    for (const double v : {1e15, 1e300, 1e-7, 123.456, -9.87654321e-200, 0.1 + 0.2}) {
        const QByteArray t = TextoFlutuante(v);
        bool ok = false;
        EXPECT_EQ(t.toDouble(&ok), v) << t.constData();
        EXPECT_TRUE(ok) << t.constData();
        EXPECT_FALSE(t.contains(',')) << t.constData();
    }
}

TEST_F(IniFileTest, WriteReplacesOrAddsOneLineAndKeepsTheRestByteForByte)
{
    struct Caso {
        const char* nome;
        QByteArray antes; // no file when null
        QByteArray chave;
        QByteArray valor;
        QByteArray depois;
    };
    const Caso casos[] = {
        {"no file", QByteArray(), "Host", "srv:", "[Sistema]\r\nHost=srv:\r\n"},
        {"empty file", "", "Host", "srv:", "[Sistema]\r\nHost=srv:\r\n"},
        {"replace in place",
         "; comment\r\n[Outra]\r\nHost=other\r\n\r\n[Sistema]\r\nGBAK=g\r\nHost=old:\r\nOrigem=o\r\n[Fim]\r\nX=1\r\n",
         "Host", "new:",
         "; comment\r\n[Outra]\r\nHost=other\r\n\r\n[Sistema]\r\nGBAK=g\r\nHost=new:\r\nOrigem=o\r\n[Fim]\r\nX=1\r\n"},
        {"replace keeps a LF line end", "[Sistema]\nA=1\nHost=old\nB=2\n", "Host", "new",
         "[Sistema]\nA=1\nHost=new\nB=2\n"},
        {"replace an unterminated last line", "[Sistema]\r\nHost=old", "Host", "new", "[Sistema]\r\nHost=new"},
        {"replace matched without case", "[SISTEMA]\r\n  hOsT = old \r\n", "Host", "new", "[SISTEMA]\r\nHost=new\r\n"},
        {"replace with empty", "[Sistema]\r\nHost=old\r\n", "Host", "", "[Sistema]\r\nHost=\r\n"},
        {"only the first duplicate replaced", "[Sistema]\r\nHost=um\r\nHost=dois\r\n", "Host", "tres",
         "[Sistema]\r\nHost=tres\r\nHost=dois\r\n"},
        {"added at end of section before the next one",
         "[Sistema]\r\nA=1\r\nB=2\r\n\r\n\r\n[Outra]\r\nC=3\r\n", "Host", "h",
         "[Sistema]\r\nA=1\r\nB=2\r\nHost=h\r\n\r\n\r\n[Outra]\r\nC=3\r\n"},
        {"added after last non-blank line at file end", "[Sistema]\r\nA=1\r\n\r\n  \r\n", "Host", "h",
         "[Sistema]\r\nA=1\r\nHost=h\r\n\r\n  \r\n"},
        {"added to an empty section", "[Sistema]\r\n[Outra]\r\n", "Host", "h",
         "[Sistema]\r\nHost=h\r\n[Outra]\r\n"},
        {"added after an unterminated last line", "[Sistema]\r\nA=1", "Host", "h", "[Sistema]\r\nA=1\r\nHost=h\r\n"},
        {"added after a header at file end", "[Sistema]", "Host", "h", "[Sistema]\r\nHost=h\r\n"},
        {"added in the first of two sections of the name", "[Sistema]\r\nA=1\r\n[Sistema]\r\nHost=x\r\n", "Host",
         "h", "[Sistema]\r\nA=1\r\nHost=h\r\n[Sistema]\r\nHost=x\r\n"},
        {"key lines before the section are not the section's", "Host=x\r\n[Sistema]\r\nA=1\r\n", "Host", "h",
         "Host=x\r\n[Sistema]\r\nA=1\r\nHost=h\r\n"},
        {"section added at file end", "[Outra]\r\nHost=x\r\n", "Host", "h",
         "[Outra]\r\nHost=x\r\n[Sistema]\r\nHost=h\r\n"},
        {"section added after an unterminated line", "[Outra]\r\nX=1", "Host", "h",
         "[Outra]\r\nX=1\r\n[Sistema]\r\nHost=h\r\n"},
        {"LF file gets the new section with CR LF", "[Outra]\nX=1\n", "Host", "h",
         "[Outra]\nX=1\n[Sistema]\r\nHost=h\r\n"},
        {"non-text bytes elsewhere untouched", QByteArray("\xFF\xFE\0\x01\r\n[Sistema]\r\nHost=a\r\n\x80\x81", 27),
         "Host", "b", QByteArray("\xFF\xFE\0\x01\r\n[Sistema]\r\nHost=b\r\n\x80\x81", 27)},
    };
    for (const Caso& c : casos) {
        QFile::remove(arquivo);
        if (!c.antes.isNull()) {
            ASSERT_TRUE(GravaArquivo(arquivo, c.antes)) << c.nome;
        }
        TIniFile(arquivo).WriteString(S, c.chave, c.valor);
        EXPECT_EQ(LeArquivo(arquivo), c.depois) << c.nome;
        EXPECT_EQ(ArquivosDaPasta(), QStringList{QStringLiteral("CONFIG.ini")}) << c.nome << ": no leftover files";
    }
}

TEST_F(IniFileTest, TypedWritersStoreTheirText)
{
    TIniFile ini(arquivo);
    ini.WriteInteger(S, "I", -42);
    ini.WriteBool(S, "V", true);
    ini.WriteBool(S, "F", false);
    ini.WriteFloat(S, "Copias", 7);
    ini.WriteFloat(S, "Meio", 2.5);
    EXPECT_EQ(LeArquivo(arquivo), "[Sistema]\r\nI=-42\r\nV=1\r\nF=0\r\nCopias=7\r\nMeio=2.5\r\n");
    EXPECT_EQ(ini.ReadInteger(S, "Copias", 365), 7);
}

TEST_F(IniFileTest, WrittenValuesReadBackUnchanged)
{
    // Every byte a line can hold (all but NUL, CR and LF), in several positions:
    // in the middle, at the ends (blanks and quotes there need protecting).
    QByteArray todos;
    for (int b = 1; b < 256; ++b)
        if (b != '\r' && b != '\n')
            todos += char(b);
    QByteArray invertidos = todos;
    std::reverse(invertidos.begin(), invertidos.end());

    const QByteArray valores[] = {
        todos,
        invertidos,
        " leading",
        "trailing\t",
        " ",
        "\"quoted\"",
        "'single'",
        "\"",
        "'",
        "\"mixed'",
        "=",
        "[Sistema]",
        "\x1a",
        "",
    };
    TIniFile ini(arquivo);
    for (const QByteArray& v : valores) {
        ini.WriteString(S, "Pass", v);
        EXPECT_EQ(ini.ReadString(S, "Pass", "DEF"), v) << v.toHex().constData();
        ini.WriteString(S, "Outra", "x"); // the replaced line must not swallow its neighbours
        EXPECT_EQ(ini.ReadString(S, "Outra", "DEF"), "x") << v.toHex().constData();
    }
}

TEST_F(IniFileTest, LineBreaksAndNulCannotBeStoredSoTheValueStopsThere)
{
    struct Caso {
        QByteArray valor;
        QByteArray lido;
    };
    const Caso casos[] = {
        {"abc\r\nInjetada=1", "abc"},
        {"abc\nInjetada=1", "abc"},
        {"abc\rInjetada=1", "abc"},
        {QByteArray("abc\0Injetada=1", 14), "abc"},
        {"\n[Outra]", ""},
    };
    TIniFile ini(arquivo);
    for (const Caso& c : casos) {
        ini.WriteString(S, "K", c.valor);
        EXPECT_EQ(ini.ReadString(S, "K", "DEF"), c.lido) << c.valor.toHex().constData();
        EXPECT_EQ(ini.ReadString(S, "Injetada", "DEF"), "DEF") << c.valor.toHex().constData();
        EXPECT_EQ(LeArquivo(arquivo).count('\n'), 2) << c.valor.toHex().constData();
    }
}

TEST_F(IniFileTest, EveryCallSeesTheFileAsItIsNow)
{
    TIniFile ini(arquivo);
    ini.WriteString(S, "A", "1");
    // Another program edits the file between two calls.
    ASSERT_TRUE(GravaArquivo(arquivo, LeArquivo(arquivo) + "B=fora\r\n"));
    EXPECT_EQ(ini.ReadString(S, "B", "DEF"), "fora");
    ini.WriteString(S, "C", "3");
    EXPECT_EQ(LeArquivo(arquivo), "[Sistema]\r\nA=1\r\nB=fora\r\nC=3\r\n");
}

TEST_F(IniFileTest, WriteKeepsThePermissionsOfTheOldFile)
{
    using P = QFileDevice;
    // Owner, group and others bits (the "user" ones only mirror them for us).
    const auto mascara = QFileDevice::Permissions::fromInt(0x7077);
    // 0440 and 0444 are only written where the writer may (root): the rewrite
    // must not open them to everyone.
    for (const QFileDevice::Permissions permissoes :
         {P::ReadOwner | P::WriteOwner | P::ReadGroup, P::ReadOwner | P::WriteOwner,
          P::ReadOwner | P::ReadGroup | P::ReadOther, P::ReadOwner | P::ReadGroup}) {
        QFile::remove(arquivo);
        ASSERT_TRUE(GravaArquivo(arquivo, "[Sistema]\r\nA=1\r\n"));
        ASSERT_TRUE(QFile::setPermissions(arquivo, permissoes));
        if (!(permissoes & P::WriteOwner) && geteuid() != 0)
            continue;
        TIniFile(arquivo).WriteString(S, "A", "2");
        EXPECT_EQ(QFile::permissions(arquivo) & mascara, permissoes & mascara) << permissoes;
        EXPECT_EQ(LeArquivo(arquivo), "[Sistema]\r\nA=2\r\n");
    }
}

TEST_F(IniFileTest, RefusedWriteThrowsAndLeavesTheOldFile)
{
    const QByteArray antigo = "[Sistema]\r\nA=1\r\n";
    const QString pasta = PastaTeste(dir, QStringLiteral("pasta"));

    struct Caso {
        const char* nome;
        QString arquivo;
        rlim_t limite; // file size cap during the write, 0 for none
        bool existe;   // an old CONFIG.ini is there and must stay as it was
    };
    const Caso casos[] = {
        // The name exactly as given, odd separators and all, is in the message.
        {"missing folder", dir.path() + QStringLiteral("/nao/existe//CONFIG.ini"), 0, false},
        {"relative name in missing folder", QStringLiteral("nao-existe-aqui/CONFIG.ini"), 0, false},
        {"name is a folder", pasta, 0, false},
        {"disk full", arquivo, rlim_t(antigo.size() + 4), true},
    };
    for (const Caso& c : casos) {
        if (c.existe) {
            ASSERT_TRUE(GravaArquivo(c.arquivo, antigo)) << c.nome;
        }
        TIniFile ini(c.arquivo);
        try {
            LimiteDeArquivo limite(c.limite ? c.limite : RLIM_INFINITY);
            ini.WriteString(S, "Host", "um-valor-que-nao-cabe:");
            ADD_FAILURE() << c.nome << ": no exception";
        } catch (const Erro& e) {
            EXPECT_EQ(e.texto(), QStringLiteral("Impossível gravar para ") + c.arquivo) << c.nome;
        }
        if (c.existe)
            EXPECT_EQ(LeArquivo(c.arquivo), antigo) << c.nome;
        else
            EXPECT_FALSE(QFileInfo(c.arquivo).isFile()) << c.nome;
    }
    EXPECT_TRUE(QFileInfo(pasta).isDir());
    EXPECT_EQ(ArquivosDaPasta(), QStringList{QStringLiteral("CONFIG.ini")}) << "no temporary file left behind";
}

TEST_F(IniFileTest, FileWithoutWriteOrReadRightsRefusesTheWrite)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads and writes through permission bits";
    const QByteArray antigo = "[Sistema]\r\nA=1\r\nB=2\r\n";
    // Read-only: plainly refused. Write-only: the writer cannot see the other keys,
    // so replacing the file would lose them.
    for (const auto permissoes : {QFileDevice::ReadOwner, QFileDevice::WriteOwner}) {
        QFile::remove(arquivo);
        ASSERT_TRUE(GravaArquivo(arquivo, antigo));
        ASSERT_TRUE(QFile::setPermissions(arquivo, permissoes));
        EXPECT_THROW(TIniFile(arquivo).WriteString(S, "A", "2"), Erro) << permissoes;
        ASSERT_TRUE(QFile::setPermissions(arquivo, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        EXPECT_EQ(LeArquivo(arquivo), antigo) << permissoes;
    }
}

} // namespace

namespace {

// A folder the system itself refuses to write to (root included): the write is
// refused with the file's name and the settings stay as they were.
TEST(IniFileSomenteLeitura, PastaSomenteLeituraRecusaAGravacao)
{
    QTemporaryDir dir;
    const QString pasta = dir.path() + QStringLiteral("/ro");
    DiscoPequeno disco(pasta, QStringLiteral("1m"));
    if (!disco.ok())
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    const QString arquivo = pasta + QStringLiteral("/CONFIG.ini");
    const QByteArray antigo = "[Sistema]\r\nGBAK=/usr/bin/gbak\r\n";
    ASSERT_TRUE(GravaArquivo(arquivo, antigo));
    ASSERT_TRUE(disco.SomenteLeitura());
    try {
        TIniFile(arquivo).WriteInteger("Sistema", "TBckpagendadoBASE", 42);
        ADD_FAILURE() << "the write was not refused";
    } catch (const Erro& e) {
        EXPECT_EQ(e.texto(), QStringLiteral("Impossível gravar para ") + arquivo);
    }
    EXPECT_EQ(LeArquivo(arquivo), antigo);
    EXPECT_EQ(TIniFile(arquivo).ReadString("Sistema", "GBAK", "x"), QByteArray("/usr/bin/gbak"));
}

}
