// The password scrambler and the form a scrambled password takes in CONFIG.ini.
#include "apoio/Arquivos.h"
#include "configuracao/Configuracao.h"
#include "configuracao/Cripto.h"
#include "configuracao/IniFile.h"
#include "configuracao/SenhaGuardada.h"

#include <gtest/gtest.h>

namespace {

QByteArray Bytes(std::initializer_list<int> v)
{
    QByteArray b;
    for (int x : v)
        b += char(x);
    return b;
}

TEST(Cripto, TextosConhecidos)
{
    const struct {
        QByteArray modo, texto, esperado;
    } casos[] = {
        {"C", "A", "+"},  // the first byte always meets the seed's upper byte, 0x6A
        {"C", "senha123", QByteArray::fromHex("196c938534add1ce")},
        {"D", QByteArray::fromHex("196c938534add1ce"), "senha123"},
        {"C", "", ""},
        {"D", "", ""},
    };
    for (const auto& c : casos)
        EXPECT_EQ(Cripto(c.modo, c.texto).toHex(), c.esperado.toHex()) << c.modo.constData() << " " << c.texto.toHex().constData();
}

TEST(Cripto, SoCMaiusculoEmbaralha)
{
    const QByteArray texto = "Pa$$w0rd ção";
    const QByteArray embaralhado = Cripto("C", texto);
    for (const QByteArray& modo : {QByteArray("D"), QByteArray("c"), QByteArray("CC"), QByteArray(), QByteArray("C ")})
        EXPECT_EQ(Cripto(modo, embaralhado), texto) << modo.constData();
    EXPECT_NE(Cripto("C", embaralhado), texto);
}

TEST(Cripto, PropriedadesDeQualquerTexto)
{
    QByteArray todos;
    for (int i = 0; i < 256; ++i)
        todos += char(i);
    for (const QByteArray& t : {todos, QByteArray(300, '\0'), QByteArray("x"), Bytes({0xFF, 0x00, 0x0D, 0x0A})}) {
        const QByteArray e = Cripto("C", t);
        EXPECT_EQ(e.size(), t.size());
        EXPECT_EQ(Cripto("D", e), t);
    }
    // One byte changed in a scrambled text changes at most it and the next one.
    const QByteArray e = Cripto("C", "abcdefgh");
    QByteArray alterado = e;
    alterado[3] = char(alterado[3] ^ 0x55);
    const QByteArray d = Cripto("D", alterado);
    for (int i = 0; i < 8; ++i)
        if (i != 3 && i != 4) {
            EXPECT_EQ(d[i], QByteArray("abcdefgh")[i]) << i;
        }
    // A shared beginning stays shared.
    EXPECT_EQ(Cripto("C", "prefixoA").left(7), Cripto("C", "prefixoB").left(7));
}

TEST(SenhaGuardada, SoOQueNaoVoltariaGanhaOutraForma)
{
    const QByteArray todos = [] {
        QByteArray b;
        for (int i = 0; i < 256; ++i)
            b += char(i);
        return b;
    }();
    const struct {
        QByteArray embaralhada;
        bool comoEsta;
    } casos[] = {
        {"abc=;def", true},
        {"a b", true},
        {"\"abc", true},
        {"'x\"", true},
        {"", true},
        {" abc", false},
        {"abc\t", false},
        {"\"abc\"", false},
        {"'x'", false},
        {QByteArray("a\0b", 3), false},
        {"a\rb", false},
        {"a\nb", false},
        {todos, false},
        {QByteArray(2048, 'x'), false},
    };
    for (const auto& c : casos) {
        const QByteArray guardada = FormaGuardada(c.embaralhada);
        EXPECT_EQ(guardada == c.embaralhada, c.comoEsta) << c.embaralhada.toHex().constData();
        EXPECT_EQ(DeFormaGuardada(guardada).toHex(), c.embaralhada.toHex());
    }
}

class SenhasNoArquivo : public ComArquivoConfig {};

// Whatever the password, it comes back as typed after a save, and one whose
// scrambled form a profile line carries unchanged keeps exactly those bytes.
TEST_F(SenhasNoArquivo, QualquerSenhaVoltaComoDigitada)
{
    QByteArray todos;
    for (int i = 0; i < 256; ++i)
        todos += char(i);
    for (const QByteArray& senha : {QByteArray("senha123"), QByteArray("çãé€ #;=\"'"), todos, QByteArray(" x "),
                                    QByteArray("\r\n\0", 3), QByteArray()}) {
        Configuracao c;
        c.EmailPass = senha;
        c.FTPPass = senha;
        c.SYSDBAPass = senha;
        GravaConfiguracao(arquivo, c);
        const Configuracao lida = LeConfiguracao(arquivo);
        EXPECT_EQ(lida.EmailPass.toHex(), senha.toHex());
        EXPECT_EQ(lida.FTPPass.toHex(), senha.toHex());
        EXPECT_EQ(lida.SYSDBAPass.toHex(), senha.toHex());
    }
    Configuracao c;
    c.FTPPass = "senha123";
    GravaConfiguracao(arquivo, c);
    EXPECT_EQ(TIniFile(arquivo).ReadString(SecaoSistema, "FTPPass", "?"), Cripto("C", "senha123"));
}

TEST_F(SenhasNoArquivo, SenhaDoAdministradorTemOPadraoDeSempre)
{
    EXPECT_EQ(LeConfiguracao(arquivo).SYSDBAPass, "bluefjord");
    ASSERT_TRUE(GravaArquivo(arquivo, "[Sistema]\r\nSYSDBAPass=" + Cripto("C", "outra") + "\r\n"));
    EXPECT_EQ(LeConfiguracao(arquivo).SYSDBAPass, "outra");
}

}
