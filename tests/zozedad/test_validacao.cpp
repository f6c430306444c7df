// The settings window's four checks and the integer reading they rely on, without
// any window.
#include "apoio/Texto.h"
#include "core/Validacao.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Complete e-mail and FTP settings: every check passes.
Configuracao Completa()
{
    Configuracao c;
    c.EmailSMTP = QStringLiteral("smtp.x");
    c.EmailUser = QStringLiteral("u");
    c.EmailPass = "p";
    c.EmailPort = QStringLiteral("587");
    c.EmailFrom = QStringLiteral("a@x");
    c.EmailDest = QStringLiteral("b@x");
    c.EmailAssu = QStringLiteral("assunto");
    c.FTPHost = QStringLiteral("ftp.x");
    c.FTPUser = QStringLiteral("u");
    c.FTPPass = "p";
    c.FTPPort = QStringLiteral("21");
    c.FTPDir = QStringLiteral("/d");
    return c;
}

struct CasoValidacao {
    const char* nome;
    std::function<void(Configuracao&)> altera;
    bool falha;
    AbaConfiguracao aba;
    CampoConfiguracao campo;
    const char* mensagem;
};

void PrintTo(const CasoValidacao& caso, std::ostream* os) { *os << caso.nome; }

class Validacao : public ::testing::TestWithParam<CasoValidacao> {};

TEST_P(Validacao, PrimeiraFalhaNaOrdem)
{
    const CasoValidacao& caso = GetParam();
    Configuracao c = Completa();
    caso.altera(c);
    const std::optional<FalhaValidacao> falha = ValidaConfiguracao(c);
    ASSERT_EQ(falha.has_value(), caso.falha);
    if (!caso.falha)
        return;
    EXPECT_EQ(falha->aba, caso.aba);
    EXPECT_EQ(falha->campo, caso.campo);
    EXPECT_EQ(falha->mensagem, QString::fromUtf8(caso.mensagem));
}

using A = AbaConfiguracao;
using C = CampoConfiguracao;
const char* const PortaE = "Email: número de porta inválido.";
const char* const PortaF = "FTP: número de porta inválido.";
const char* const IncE = "Email: configurações incompletas.";
const char* const IncF = "FTP: configurações incompletas.";

INSTANTIATE_TEST_SUITE_P(
    Casos, Validacao,
    ::testing::Values(
        CasoValidacao{"Completa", [](Configuracao&) {}, false, {}, {}, ""},
        CasoValidacao{"PortaEmailVaziaAntesDeIncompleta", [](Configuracao& c) { c.EmailPort.clear(); }, true, A::Email, C::EmailPort, PortaE},
        CasoValidacao{"PortaEmailComBrancoNoFim", [](Configuracao& c) { c.EmailPort = QStringLiteral("587 "); }, true, A::Email, C::EmailPort, PortaE},
        CasoValidacao{"PortaEmailTexto", [](Configuracao& c) { c.EmailPort = QStringLiteral("smtp"); }, true, A::Email, C::EmailPort, PortaE},
        CasoValidacao{"PortaEmail70000Passa", [](Configuracao& c) { c.EmailPort = QStringLiteral("70000"); }, false, {}, {}, ""},
        CasoValidacao{"PortaEmailZeroPassa", [](Configuracao& c) { c.EmailPort = QStringLiteral("0"); }, false, {}, {}, ""},
        CasoValidacao{"PortaEmailAntesDaFTP", [](Configuracao& c) { c.EmailPort = QStringLiteral("x"); c.FTPPort = QStringLiteral("y"); }, true, A::Email, C::EmailPort, PortaE},
        CasoValidacao{"PortaFTPAntesDeEmailIncompleto", [](Configuracao& c) { c.FTPPort = QStringLiteral("y"); c.EmailSMTP.clear(); }, true, A::FTP, C::FTPPort, PortaF},
        CasoValidacao{"SemDestinatarioNadaDeEmailConta", [](Configuracao& c) { c.EmailDest.clear(); c.EmailPort = QStringLiteral("x"); c.EmailSMTP.clear(); }, false, {}, {}, ""},
        CasoValidacao{"SemServidorNadaDeFTPConta", [](Configuracao& c) { c.FTPHost.clear(); c.FTPPort = QStringLiteral("x"); c.FTPDir.clear(); }, false, {}, {}, ""},
        CasoValidacao{"EmailSemSMTP", [](Configuracao& c) { c.EmailSMTP.clear(); }, true, A::Email, C::EmailSMTP, IncE},
        CasoValidacao{"EmailSemUsuario", [](Configuracao& c) { c.EmailUser.clear(); }, true, A::Email, C::EmailSMTP, IncE},
        CasoValidacao{"EmailSemSenhaMesmoSemAutenticacao", [](Configuracao& c) { c.EmailPass.clear(); c.EmailAute = false; }, true, A::Email, C::EmailSMTP, IncE},
        CasoValidacao{"EmailSemRemetente", [](Configuracao& c) { c.EmailFrom.clear(); }, true, A::Email, C::EmailSMTP, IncE},
        CasoValidacao{"EmailSemAssunto", [](Configuracao& c) { c.EmailAssu.clear(); }, true, A::Email, C::EmailSMTP, IncE},
        CasoValidacao{"EmailIncompletoAntesDeFTPIncompleto", [](Configuracao& c) { c.EmailAssu.clear(); c.FTPDir.clear(); }, true, A::Email, C::EmailSMTP, IncE},
        CasoValidacao{"BrancosContamComoConteudo", [](Configuracao& c) { c.EmailSMTP = QStringLiteral(" "); c.FTPDir = QStringLiteral(" "); }, false, {}, {}, ""},
        CasoValidacao{"FTPSemUsuario", [](Configuracao& c) { c.FTPUser.clear(); }, true, A::FTP, C::FTPHost, IncF},
        CasoValidacao{"FTPSemSenha", [](Configuracao& c) { c.FTPPass.clear(); }, true, A::FTP, C::FTPHost, IncF},
        CasoValidacao{"FTPSemPasta", [](Configuracao& c) { c.FTPDir.clear(); }, true, A::FTP, C::FTPHost, IncF}),
    [](const ::testing::TestParamInfo<CasoValidacao>& i) { return std::string(i.param.nome); });

struct CasoInteiro {
    const char* texto;
    std::optional<int> valor;
};

TEST(TextoParaInteiro, ComoAConversaoDaPlataforma)
{
    const CasoInteiro casos[] = {
        {"587", 587},          {"0", 0},
        {"-12", -12},          {"+7", 7},
        {"  21", 21},          {"21 ", std::nullopt},
        {"", std::nullopt},    {" ", std::nullopt},
        {"-", std::nullopt},   {"12a", std::nullopt},
        {"$1F", 31},           {"0x24B", 587},
        {"X10", 16},           {"0x", std::nullopt},
        {"2147483647", 2147483647}, {"2147483648", std::nullopt},
        {"-2147483648", -2147483647 - 1}, {"-2147483649", std::nullopt},
        {"$FFFFFFFF", -1},     {"$100000000", std::nullopt},
        {"1.5", std::nullopt}, {"٣", std::nullopt},  // digits of other scripts are no number
    };
    for (const CasoInteiro& caso : casos)
        EXPECT_EQ(TextoParaInteiro(QString::fromUtf8(caso.texto)), caso.valor) << caso.texto;
}

}  // namespace
