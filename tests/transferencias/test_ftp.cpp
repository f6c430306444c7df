// Upload of the archive to a real FTP server (pyftpdlib on loopback).
#include "apoio/Arquivos.h"
#include "apoio/Texto.h"
#include "apoio/Servidores.h"
#include "transferencias/EnvioFtp.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {
const QString Nome = QStringLiteral("DADOS-09-12-2024-0300.bkp.zip");
const QString Usuario = QStringLiteral("copias");
const QByteArray Senha = "se nha#1";

// Bytes that a text-mode transfer would damage: CR, LF, CR LF, NUL, high bytes.
QByteArray Arquivo(qint64 tamanho)
{
    QByteArray b(tamanho, '\0');
    QRandomGenerator gerador(7);
    gerador.fillRange(reinterpret_cast<quint32*>(b.data()), tamanho / 4);
    b.replace(0, 8, QByteArray("\r\n\n\r\0\xff.\r", 8));
    return b;
}

class EnvioFtpTeste : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString raiz;
    QString local;
    QByteArray conteudo = Arquivo(3 * 1024 * 1024 + 7);

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        raiz = PastaTeste(dir, QStringLiteral("servidor"));
        QDir().mkpath(raiz + QStringLiteral("/copias/diarias"));
        local = PastaTeste(dir, QStringLiteral("local")) + QLatin1Char('/') + Nome;
        ASSERT_TRUE(GravaArquivo(local, conteudo));
    }

    QStringList ArgumentosServidor(const QStringList& extra = {}) const
    {
        return QStringList{QStringLiteral("--raiz"), raiz, QStringLiteral("--usuario"), Usuario,
                           QStringLiteral("--senha"), QString::fromLatin1(Senha)}
            + extra;
    }

    PedidoFtp Pedido(int porta) const
    {
        PedidoFtp p;
        p.host = QStringLiteral("127.0.0.1");
        p.porta = porta;
        p.usuario = Usuario;
        p.senha = Senha;
        p.arquivo = local;
        p.tempos = {5, 5};
        return p;
    }
};

struct CasoEnvio {
    const char* caso;
    bool ativo;
    const char* pasta;    // FTPDir
    const char* destino;  // where the file lands, under the server root
    const char* cwd;      // the one change of folder the server sees; "" for none
};

void PrintTo(const CasoEnvio& c, std::ostream* os)
{
    *os << c.caso;
}

class EnvioFtpEntrega : public EnvioFtpTeste, public ::testing::WithParamInterface<CasoEnvio> {};

TEST_P(EnvioFtpEntrega, ArquivoIgualNoServidor)
{
    const CasoEnvio& c = GetParam();
    const QString destino = raiz + QLatin1Char('/') + QLatin1String(c.destino) + QLatin1Char('/') + Nome;
    // A longer file of the same name is replaced, not appended to.
    ASSERT_TRUE(GravaArquivo(destino, QByteArray(5 * 1024 * 1024, 'x')));
    ServidorTeste servidor(QStringLiteral("ftp.py"), ArgumentosServidor());
    ASSERT_TRUE(servidor.ok()) << servidor.Erros().toStdString();

    PedidoFtp p = Pedido(servidor.porta());
    p.ativo = c.ativo;
    p.pasta = QString::fromUtf8(c.pasta);
    QList<QPair<qint64, qint64>> passos;
    p.progresso = [&passos](qint64 enviado, qint64 total) { passos.append({enviado, total}); };

    EXPECT_EQ(EnviaFtp(p), QStringLiteral("; FTP OK"));
    const QString comandos = servidor.Erros();
    EXPECT_TRUE(comandos.contains(QStringLiteral("COMANDO TYPE I"))) << comandos.toStdString();
    const QRegularExpression ativo(QStringLiteral("COMANDO E?PRT ")), passivo(QStringLiteral("COMANDO E?PSV"));
    EXPECT_EQ(comandos.contains(ativo), c.ativo) << comandos.toStdString();
    EXPECT_EQ(comandos.contains(passivo), !c.ativo) << comandos.toStdString();
    EXPECT_TRUE(comandos.contains(QStringLiteral("COMANDO STOR ") + Nome)) << "stored under its own name";
    const QStringList cwds = comandos.split(QLatin1Char('\n')).filter(QStringLiteral("COMANDO CWD"));
    const QStringList esperados = *c.cwd ? QStringList{QStringLiteral("COMANDO CWD ") + QLatin1String(c.cwd)}
                                         : QStringList{};
    EXPECT_EQ(cwds, esperados);
    EXPECT_TRUE(LeArquivo(destino) == conteudo) << c.caso;
    EXPECT_EQ(LeArquivo(local), conteudo) << "the local archive stays";

    const qint64 tamanho = conteudo.size();
    ASSERT_GE(passos.size(), 2);
    EXPECT_EQ(passos.first(), qMakePair(qint64(0), tamanho));
    EXPECT_EQ(passos.last(), qMakePair(tamanho, tamanho));
    for (qsizetype i = 1; i < passos.size(); ++i) {
        EXPECT_GT(passos[i].first, passos[i - 1].first);
        EXPECT_EQ(passos[i].second, tamanho);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Casos, EnvioFtpEntrega,
    ::testing::Values(CasoEnvio{"passive, into a folder", false, "copias", "copias", "copias"},
                      CasoEnvio{"active, into a folder", true, "copias", "copias", "copias"},
                      CasoEnvio{"passive, log-in folder", false, "", ".", ""},
                      CasoEnvio{"active, log-in folder", true, "", ".", ""},
                      CasoEnvio{"absolute folder two levels down", false, "/copias/diarias", "copias/diarias",
                                "/copias/diarias"},
                      CasoEnvio{"folder with a trailing separator", true, "copias/", "copias", "copias/"}),
    [](const auto& info) { return std::to_string(info.index); });

// Faults: each gives "; FTP: " + a text that says what happened, and leaves the
// local archive as it was.
struct CasoFalha {
    const char* caso;
    const char* script;  // the peer: "ftp.py", "mudo.py" or "" (nothing listens)
    QStringList extraServidor;
    std::function<void(PedidoFtp&)> ajusta;
    std::function<QString(const QString& raiz, qint64 tamanho)> esperado;  // exact status, or a prefix ending in '*'
};

void PrintTo(const CasoFalha& c, std::ostream* os)
{
    *os << c.caso;
}

class EnvioFtpFalha : public EnvioFtpTeste, public ::testing::WithParamInterface<CasoFalha> {};

TEST_P(EnvioFtpFalha, TextoClaroNadaPerdido)
{
    const CasoFalha& c = GetParam();
    std::unique_ptr<ServidorTeste> servidor;
    int porta = PortaRecusada();
    if (*c.script) {
        servidor = std::make_unique<ServidorTeste>(QString::fromLatin1(c.script), c.script == std::string("ftp.py")
                                                       ? ArgumentosServidor(c.extraServidor)
                                                       : QStringList{});
        ASSERT_TRUE(servidor->ok());
        porta = servidor->porta();
    }
    PedidoFtp p = Pedido(porta);
    p.pasta = QStringLiteral("copias");
    // Short limits for the silent server; pyftpdlib answers a wrong password only
    // after a 3-second penalty.
    p.tempos = *c.script == 'm' ? TemposLimite{1, 2} : TemposLimite{6, 6};
    c.ajusta(p);

    QElapsedTimer relogio;
    relogio.start();
    const QString status = EnviaFtp(p);
    const QString esperado = c.esperado(raiz, conteudo.size());
    if (esperado.endsWith(QLatin1Char('*')))
        EXPECT_TRUE(status.startsWith(esperado.chopped(1))) << c.caso << ": " << status.toStdString();
    else
        EXPECT_EQ(status, esperado) << c.caso;
    EXPECT_LT(relogio.elapsed(), 20000) << "the time-outs end a dead server";
    EXPECT_EQ(LeArquivo(local), conteudo);
}

QString Texto(const char* t)
{
    return QString::fromUtf8(t);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, EnvioFtpFalha,
    ::testing::Values(
        CasoFalha{"wrong password: the server's reply", "ftp.py", {},
                  [](PedidoFtp& p) { p.senha = "errada"; },
                  [](const QString&, qint64) { return Texto("; FTP: Authentication failed."); }},
        CasoFalha{"missing folder: the server's reply", "ftp.py", {},
                  [](PedidoFtp& p) { p.pasta = QStringLiteral("nao/existe"); },
                  [](const QString&, qint64) { return Texto("; FTP: No such file or directory."); }},
        CasoFalha{"connection refused", "", {}, [](PedidoFtp&) {},
                  [](const QString&, qint64) { return Texto("; FTP: Failed to connect to 127.0.0.1 port*"); }},
        CasoFalha{"server that never answers", "mudo.py", {}, [](PedidoFtp&) {},
                  [](const QString&, qint64) { return Texto("; FTP: Operation timed out after*"); }},
        CasoFalha{"stored file cut short", "ftp.py", {QStringLiteral("--corta"), QStringLiteral("1")},
                  [](PedidoFtp&) {},
                  [](const QString&, qint64 n) {
                      return QStringLiteral("; FTP: o servidor guardou %1 de %2 bytes do arquivo").arg(n - 1).arg(n);
                  }},
        CasoFalha{"archive missing", "ftp.py", {},
                  [](PedidoFtp& p) { p.arquivo += QStringLiteral(".nao"); },
                  [](const QString&, qint64) { return Texto("; FTP: não foi possível abrir o arquivo *"); }},
        CasoFalha{"server name that cannot be one", "", {},
                  [](PedidoFtp& p) { p.host = QStringLiteral("ftp://127.0.0.1"); },
                  [](const QString&, qint64) { return Texto("; FTP: servidor ou porta inválidos: \"ftp://127.0.0.1\"*"); }}),
    [](const auto& info) { return std::to_string(info.index); });

TEST_F(EnvioFtpTeste, ServidorSemSizeFicaComSuaPalavra)
{
    ServidorTeste servidor(QStringLiteral("ftp.py"), ArgumentosServidor({QStringLiteral("--sem-size")}));
    ASSERT_TRUE(servidor.ok());
    EXPECT_EQ(EnviaFtp(Pedido(servidor.porta())), QStringLiteral("; FTP OK"));
    EXPECT_TRUE(LeArquivo(raiz + QLatin1Char('/') + Nome) == conteudo);
}

TEST_F(EnvioFtpTeste, RecusaDoComandoStorTrazARespostaDoServidor)
{
    // A folder of that name where the file should go: the server refuses STOR.
    QDir().mkpath(raiz + QStringLiteral("/copias/") + Nome);
    ServidorTeste servidor(QStringLiteral("ftp.py"), ArgumentosServidor());
    ASSERT_TRUE(servidor.ok());
    PedidoFtp p = Pedido(servidor.porta());
    p.pasta = QStringLiteral("copias");
    // The refusal's own words, not the farewell that follows it.
    EXPECT_EQ(EnviaFtp(p), QStringLiteral("; FTP: Is a directory."));
    EXPECT_EQ(LeArquivo(local), conteudo);
}
}
