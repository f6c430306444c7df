// The backup e-mail: composed as a stream, sent through a real SMTP server
// (aiosmtpd on loopback) and read back with Python's email package.
#include "apoio/Arquivos.h"
#include "apoio/Texto.h"
#include "apoio/Servidores.h"
#include "transferencias/ComposicaoEmail.h"
#include "transferencias/EnvioEmail.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {
const QString Nome = QStringLiteral("DADOS-09-12-2024-0300.bkp.zip");
const QString Usuario = QStringLiteral("backup@empresa.com.br");
const QByteArray Senha = "se nha:1";
const QString Preambulo = QStringLiteral("Esta mensagem está no formato MIME. Caso seu sistema de email não\n"
                                         "reconheça este formato, alguns itens podem não estar legíveis.");

QByteArray Aleatorio(qint64 tamanho, quint32 semente)
{
    QByteArray b(tamanho, '\0');
    QRandomGenerator gerador(semente);
    for (char& c : b)
        c = static_cast<char>(gerador.bounded(256));
    return b;
}

QString SemCr(QString t)
{
    return t.remove(QLatin1Char('\r'));
}

class EmailTeste : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString caixa;  // where the server keeps what it accepted
    QString local;
    QByteArray conteudo = Aleatorio(300 * 1024 + 1, 11);

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        caixa = PastaTeste(dir, QStringLiteral("caixa"));
        local = PastaTeste(dir, QStringLiteral("local")) + QLatin1Char('/') + Nome;
        ASSERT_TRUE(GravaArquivo(local, conteudo));
    }

    QStringList ArgumentosServidor(bool autentica, bool tls, const QStringList& extra = {}) const
    {
        QStringList a{QStringLiteral("--pasta"), caixa};
        if (autentica)
            a << QStringLiteral("--usuario") << Usuario << QStringLiteral("--senha") << QString::fromLatin1(Senha);
        if (tls) {
            QString certificado, chave;
            EXPECT_TRUE(CriaCertificado(dir.path(), &certificado, &chave));
            a << QStringLiteral("--certificado") << certificado << QStringLiteral("--chave") << chave;
        }
        return a + extra;
    }

    PedidoEmail Pedido(int porta) const
    {
        PedidoEmail p;
        p.servidor = QStringLiteral("127.0.0.1");
        p.porta = porta;
        p.usuario = Usuario;
        p.senha = Senha;
        p.remetente = QStringLiteral("backup@empresa.com.br");
        p.destinatario = QStringLiteral("suporte@cliente.com.br");
        p.assunto = QStringLiteral("Backup DADOS");
        p.arquivo = local;
        p.tempos = {5, 5};
        return p;
    }

    QStringList Recebidas() const { return QDir(caixa).entryList({QStringLiteral("*.eml")}); }
};

struct CasoEmail {
    const char* caso;
    const char* assunto;
    const char* remetente;     // EmailFrom
    const char* destinatario;  // EmailDest as configured
    const char* nomeDe;        // what a mail reader shows
    const char* enderecoDe;
    const char* nomePara;
    const char* enderecoPara;
    bool autentica;
    bool tls;
};

void PrintTo(const CasoEmail& c, std::ostream* os)
{
    *os << c.caso;
}

class EmailEntrega : public EmailTeste, public ::testing::WithParamInterface<CasoEmail> {};

TEST_P(EmailEntrega, MensagemLidaPorOutroLeitor)
{
    const CasoEmail& c = GetParam();
    ServidorTeste servidor(QStringLiteral("smtp.py"), ArgumentosServidor(c.autentica, c.tls));
    ASSERT_TRUE(servidor.ok()) << servidor.Erros().toStdString();
    PedidoEmail p = Pedido(servidor.porta());
    p.assunto = QString::fromUtf8(c.assunto);
    p.remetente = QString::fromUtf8(c.remetente);
    p.destinatario = QString::fromUtf8(c.destinatario);
    p.autentica = c.autentica;
    QList<QPair<qint64, qint64>> passos;
    p.progresso = [&passos](qint64 enviado, qint64 total) { passos.append({enviado, total}); };

    ASSERT_EQ(EnviaEmail(p), QStringLiteral("; Email OK")) << servidor.Erros().toStdString();
    ASSERT_EQ(Recebidas(), QStringList{QStringLiteral("0.eml")});

    // The envelope: bare addresses, over TLS when offered, AUTH LOGIN as configured.
    const QJsonObject envelope = QJsonDocument::fromJson(LeArquivo(caixa + QStringLiteral("/0.json"))).object();
    EXPECT_EQ(envelope[QStringLiteral("de")].toString(), QString::fromUtf8(c.enderecoDe));
    EXPECT_EQ(envelope[QStringLiteral("para")].toArray(), QJsonArray{QString::fromUtf8(c.enderecoPara)});
    EXPECT_EQ(envelope[QStringLiteral("tls")].toBool(), c.tls);
    if (c.autentica)
        EXPECT_EQ(envelope[QStringLiteral("usuario")].toString(), Usuario);
    else
        EXPECT_TRUE(envelope[QStringLiteral("usuario")].isNull());

    const QString anexo = dir.path() + QStringLiteral("/anexo");
    const QJsonObject m = LeEmail(caixa + QStringLiteral("/0.eml"), anexo);
    ASSERT_FALSE(m.isEmpty());
    EXPECT_EQ(m[QStringLiteral("defeitos")].toArray(), QJsonArray{});
    EXPECT_EQ(m[QStringLiteral("de")][QStringLiteral("nome")].toString(), QString::fromUtf8(c.nomeDe));
    EXPECT_EQ(m[QStringLiteral("de")][QStringLiteral("endereco")].toString(), QString::fromUtf8(c.enderecoDe));
    EXPECT_EQ(m[QStringLiteral("para")][QStringLiteral("nome")].toString(), QString::fromUtf8(c.nomePara));
    EXPECT_EQ(m[QStringLiteral("para")][QStringLiteral("endereco")].toString(), QString::fromUtf8(c.enderecoPara));
    EXPECT_EQ(m[QStringLiteral("assunto")].toString(), p.assunto);
    EXPECT_EQ(m[QStringLiteral("mailer")].toString(), QStringLiteral("Internet Professional v1,15"));
    EXPECT_EQ(m[QStringLiteral("versao")].toString(), QStringLiteral("1.0"));
    EXPECT_EQ(m[QStringLiteral("tipo")].toString(), QStringLiteral("multipart/mixed"));
    // Nothing the stage does not set: no Date, Message-ID, Cc or Bcc.
    QStringList cabecalhos;
    for (const auto& v : m[QStringLiteral("cabecalhos")].toArray())
        cabecalhos << v.toString().toLower();
    for (const char* ausente : {"date", "message-id", "cc", "bcc"})
        EXPECT_FALSE(cabecalhos.contains(QLatin1String(ausente))) << ausente;
    EXPECT_EQ(SemCr(m[QStringLiteral("preambulo")].toString()), Preambulo);

    const QJsonArray partes = m[QStringLiteral("partes")].toArray();
    ASSERT_EQ(partes.size(), 2);
    const QJsonObject texto = partes[0].toObject();
    EXPECT_EQ(texto[QStringLiteral("tipo")].toString(), QStringLiteral("text/plain"));
    EXPECT_EQ(texto[QStringLiteral("charset")].toString().toLower(), QStringLiteral("utf-8"));
    EXPECT_EQ(SemCr(texto[QStringLiteral("texto")].toString()), p.assunto + QLatin1Char('\n')) << "one line";
    const QJsonObject arquivo = partes[1].toObject();
    EXPECT_EQ(arquivo[QStringLiteral("tipo")].toString(), QStringLiteral("application/x-zip-compressed"));
    EXPECT_EQ(arquivo[QStringLiteral("nome")].toString(), Nome);
    EXPECT_EQ(arquivo[QStringLiteral("codificacao")].toString(), QStringLiteral("base64"));
    EXPECT_EQ(arquivo[QStringLiteral("disposicao")].toString(), QStringLiteral("attachment"));
    EXPECT_EQ(arquivo[QStringLiteral("arquivo")].toString(), Nome);
    EXPECT_EQ(arquivo[QStringLiteral("tamanho")].toString(), QString::number(conteudo.size()));
    EXPECT_TRUE(LeArquivo(anexo) == conteudo) << "the attachment decodes to the archive";

    ASSERT_GE(passos.size(), 2);
    const qint64 total = passos.first().second;
    EXPECT_EQ(passos.first().first, 0);
    EXPECT_GT(total, conteudo.size() * 4 / 3);
    EXPECT_EQ(passos.last(), qMakePair(total, total));
}

INSTANTIATE_TEST_SUITE_P(
    Casos, EmailEntrega,
    ::testing::Values(
        CasoEmail{"display name in double quotes, AUTH LOGIN", "Backup DADOS 09/12/2024 03:00",
                  "backup@empresa.com.br", "\"Suporte TI\" <suporte@cliente.com.br>", "", "backup@empresa.com.br",
                  "Suporte TI", "suporte@cliente.com.br", true, false},
        CasoEmail{"accented subject and names", "Cópia de segurança concluída — João",
                  "Sérgio Araújo <sergio@empresa.com.br>", "\"Ângela Conceição\" <angela@cliente.com.br>",
                  "Sérgio Araújo", "sergio@empresa.com.br", "Ângela Conceição", "angela@cliente.com.br", true, false},
        CasoEmail{"long accented subject folded over lines",
                  "Relatório da cópia de segurança do banco DADOS da empresa Ação & Companhia Ltda — 09/12/2024 "
                  "03:00:00 — concluída sem erros",
                  "backup@empresa.com.br", "suporte@cliente.com.br", "", "backup@empresa.com.br", "",
                  "suporte@cliente.com.br", true, false},
        CasoEmail{"a lone dot as the text line (dot-stuffing)", ".", "backup@empresa.com.br",
                  "suporte@cliente.com.br", "", "backup@empresa.com.br", "", "suporte@cliente.com.br", true, false},
        CasoEmail{"STARTTLS offered: used before AUTH", "Backup com TLS", "backup@empresa.com.br",
                  "\"Suporte\" <suporte@cliente.com.br>", "", "backup@empresa.com.br", "Suporte",
                  "suporte@cliente.com.br", true, true},
        CasoEmail{"no authentication", "Backup sem senha", "backup@empresa.com.br", "suporte@cliente.com.br", "",
                  "backup@empresa.com.br", "", "suporte@cliente.com.br", false, false}),
    [](const auto& info) { return std::to_string(info.index); });

// Every refusal or failure gives "; Email: " + what happened, never "; Email OK",
// and nothing reaches the mailbox.
struct CasoFalha {
    const char* caso;
    const char* script;  // "smtp.py", "mudo.py" or "" (nothing listens)
    QStringList extraServidor;
    std::function<void(PedidoEmail&)> ajusta;
    const char* esperado;  // exact status, or a prefix ending in '*'
};

void PrintTo(const CasoFalha& c, std::ostream* os)
{
    *os << c.caso;
}

class EmailFalha : public EmailTeste, public ::testing::WithParamInterface<CasoFalha> {};

TEST_P(EmailFalha, TextoDoServidorOuDaFalha)
{
    const CasoFalha& c = GetParam();
    std::unique_ptr<ServidorTeste> servidor;
    int porta = PortaRecusada();
    if (*c.script) {
        const bool smtp = c.script == std::string("smtp.py");
        servidor = std::make_unique<ServidorTeste>(
            QString::fromLatin1(c.script), smtp ? ArgumentosServidor(true, false, c.extraServidor) : QStringList{});
        ASSERT_TRUE(servidor->ok());
        porta = servidor->porta();
    }
    PedidoEmail p = Pedido(porta);
    p.tempos = {1, 2};
    c.ajusta(p);

    QElapsedTimer relogio;
    relogio.start();
    const QString status = EnviaEmail(p);
    const QString esperado = QString::fromUtf8(c.esperado);
    if (esperado.endsWith(QLatin1Char('*')))
        EXPECT_TRUE(status.startsWith(esperado.chopped(1))) << status.toStdString();
    else
        EXPECT_EQ(status, esperado);
    EXPECT_LT(relogio.elapsed(), 20000) << "the time-outs end a dead server";
    EXPECT_EQ(Recebidas(), QStringList{});
    EXPECT_EQ(LeArquivo(local), conteudo);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, EmailFalha,
    ::testing::Values(
        CasoFalha{"authentication refused", "smtp.py", {}, [](PedidoEmail& p) { p.senha = "errada"; },
                  "; Email: 5.7.8 Authentication credentials invalid"},
        CasoFalha{"recipient refused", "smtp.py",
                  {QStringLiteral("--recusa"), QStringLiteral("suporte@cliente.com.br")},
                  [](PedidoEmail& p) { p.destinatario = QStringLiteral("\"Suporte\" <suporte@cliente.com.br>"); },
                  "; Email: 5.1.1 Caixa postal inexistente"},
        CasoFalha{"sender refused: the server wants authentication", "smtp.py", {},
                  [](PedidoEmail& p) { p.autentica = false; }, "; Email: 5.7.0 Authentication required"},
        CasoFalha{"connection refused", "", {}, [](PedidoEmail&) {}, "; Email: Failed to connect to 127.0.0.1 port*"},
        CasoFalha{"server that never answers", "mudo.py", {}, [](PedidoEmail&) {}, "; Email: Operation timed out after*"},
        CasoFalha{"archive missing", "smtp.py", {}, [](PedidoEmail& p) { p.arquivo += QStringLiteral(".nao"); },
                  "; Email: não foi possível abrir o arquivo *"},
        CasoFalha{"port that leaves nothing in its low 16 bits", "", {}, [](PedidoEmail& p) { p.porta = 65536; },
                  "; Email: servidor ou porta inválidos: \"127.0.0.1\", porta 0"}),
    [](const auto& info) { return std::to_string(info.index); });

// Port 465 is TLS from the first byte; a configured 65536 + 465 means the same
// port. Needs the fixed port free (skipped where another program holds it).
TEST_F(EmailTeste, Porta465ComTlsDesdeOInicio)
{
    QString certificado, chave;
    ASSERT_TRUE(CriaCertificado(dir.path(), &certificado, &chave));
    ServidorTeste servidor(QStringLiteral("smtp.py"),
                           ArgumentosServidor(true, false)
                               << QStringLiteral("--porta") << QStringLiteral("465") << QStringLiteral("--tls-direto")
                               << QStringLiteral("--certificado") << certificado << QStringLiteral("--chave") << chave);
    if (!servidor.ok())
        GTEST_SKIP() << "port 465 is not free here: " << servidor.Erros().toStdString();
    PedidoEmail p = Pedido(465);
    p.porta = 65536 + 465;
    ASSERT_EQ(EnviaEmail(p), QStringLiteral("; Email OK")) << servidor.Erros().toStdString();
    const QJsonObject envelope = QJsonDocument::fromJson(LeArquivo(caixa + QStringLiteral("/0.json"))).object();
    EXPECT_TRUE(envelope[QStringLiteral("tls")].toBool());
}

// The composer alone: the size announced up front is the size produced, for
// archives around every base64 line and block edge; the stream parses back.
TEST_F(EmailTeste, TamanhoAnunciadoIgualAoProduzido)
{
    const qint64 bloco = 57 * 8192;
    for (const qint64 tamanho : {qint64(0), qint64(1), qint64(2), qint64(3), qint64(57), qint64(58), bloco - 1,
                                 bloco, bloco + 1, 2 * bloco + 5}) {
        const QByteArray bytes = Aleatorio(tamanho, static_cast<quint32>(tamanho));
        ASSERT_TRUE(GravaArquivo(local, bytes));
        ComposicaoEmail m({QStringLiteral("a@b.c"), QStringLiteral("d@e.f"), QStringLiteral("Assunto"), local, {}});
        ASSERT_EQ(m.Abre(), QString());
        QByteArray mensagem;
        char pedaco[7919];  // a size that matches no edge
        qint64 n;
        while ((n = m.Le(pedaco, sizeof pedaco)) > 0)
            mensagem.append(pedaco, n);
        EXPECT_EQ(n, 0);
        EXPECT_EQ(mensagem.size(), m.Tamanho()) << tamanho;

        const QString eml = dir.path() + QStringLiteral("/m.eml"), anexo = dir.path() + QStringLiteral("/anexo");
        ASSERT_TRUE(GravaArquivo(eml, mensagem));
        const QJsonObject lido = LeEmail(eml, anexo);
        EXPECT_EQ(lido[QStringLiteral("defeitos")].toArray(), QJsonArray{}) << tamanho;
        EXPECT_EQ(lido[QStringLiteral("limite")].toString().toLatin1(), m.Limite());
        EXPECT_TRUE(LeArquivo(anexo) == bytes) << tamanho;
    }
}

TEST_F(EmailTeste, ArquivoAlemDe4GiBTemTamanhoDe64Bits)
{
    const qint64 tamanho = (qint64(1) << 32) + 1;
    {
        QFile f(local);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.resize(tamanho));  // sparse: no disk used
    }
    ComposicaoEmail m({QStringLiteral("a@b.c"), QStringLiteral("d@e.f"), QStringLiteral("Assunto"), local, {}});
    ASSERT_EQ(m.Abre(), QString());
    EXPECT_GT(m.Tamanho(), tamanho / 3 * 4);
    QByteArray inicio(64 * 1024, '\0');
    inicio.resize(m.Le(inicio.data(), inicio.size()));
    EXPECT_TRUE(inicio.contains("size=4294967297\r\n"));
    EXPECT_TRUE(inicio.contains("\r\n\r\nAAAAAAAA"));
}

TEST_F(EmailTeste, ArquivoQueEncolheDuranteOEnvioParaComErro)
{
    ComposicaoEmail m({QStringLiteral("a@b.c"), QStringLiteral("d@e.f"), QStringLiteral("Assunto"), local, {}});
    ASSERT_EQ(m.Abre(), QString());
    ASSERT_TRUE(QFile::resize(local, conteudo.size() / 2));
    QByteArray pedaco(64 * 1024, '\0');
    qint64 n;
    while ((n = m.Le(pedaco.data(), pedaco.size())) > 0) {
    }
    EXPECT_EQ(n, -1);
    EXPECT_TRUE(m.Erro().contains(QStringLiteral("ficou menor"))) << m.Erro().toStdString();
}
}
