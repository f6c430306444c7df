// The off-site copies of a run: the installed runner, without a display, with the
// stand-in gbak, uploads the archive to a real FTP server (pyftpdlib) and mails it
// through a real SMTP server (aiosmtpd), both on loopback.
#include "apoio/Arquivos.h"
#include "apoio/Instalacao.h"
#include "apoio/Processos.h"
#include "apoio/Servidores.h"
#include "configuracao/Cripto.h"
#include "configuracao/SenhaGuardada.h"

#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <memory>

namespace {
const QString UsuarioFtp = QStringLiteral("copias");
const QByteArray SenhaFtp = "se nha#1";
const QString UsuarioEmail = QStringLiteral("backup@empresa.com.br");
const QByteArray SenhaEmail = "se nha:1";
const QString Destinatario = QStringLiteral("suporte@cliente.com.br");

// The value as the settings tool writes it: a scrambled password that needs the
// escaped form goes inside double quotes, which the reader drops.
QByteArray Senha(const QByteArray& clara)
{
    const QByteArray embaralhada = Cripto("C", clara);
    const QByteArray guardada = FormaGuardada(embaralhada);
    return guardada == embaralhada ? guardada : '"' + guardada + '"';
}

// What a run's line must read: exactly, or up to a final '*'.
void ConfereResultado(const QString& linha, const QString& esperado)
{
    if (esperado.endsWith(QLatin1Char('*')))
        EXPECT_TRUE(linha.contains(QStringLiteral(" - Base ") + esperado.chopped(1))) << linha.toStdString();
    else
        ConfereLinha(linha, esperado);
}

// An installed runner whose backups land in `destino`, a server folder for the
// FTP account and a mailbox for the SMTP server.
class Envio : public ::testing::Test {
protected:
    QTemporaryDir dir;
    Instalacao inst{PastaTeste(dir, QStringLiteral("inst"))};
    const QString destino = PastaTeste(dir, QStringLiteral("destino")) + QLatin1Char('/');
    const QString raiz = PastaTeste(dir, QStringLiteral("servidor"));
    const QString caixa = PastaTeste(dir, QStringLiteral("caixa"));

    void SetUp() override { ASSERT_TRUE(QDir().mkpath(raiz + QStringLiteral("/copias"))); }

    std::unique_ptr<ServidorTeste> Ftp()
    {
        return std::make_unique<ServidorTeste>(
            QStringLiteral("ftp.py"), QStringList{QStringLiteral("--raiz"), raiz, QStringLiteral("--usuario"), UsuarioFtp,
                                                  QStringLiteral("--senha"), QString::fromLatin1(SenhaFtp)});
    }

    std::unique_ptr<ServidorTeste> Smtp(const QStringList& extra = {})
    {
        return std::make_unique<ServidorTeste>(
            QStringLiteral("smtp.py"), QStringList{QStringLiteral("--pasta"), caixa, QStringLiteral("--usuario"),
                                                   UsuarioEmail, QStringLiteral("--senha"), QString::fromLatin1(SenhaEmail)}
                                           + extra);
    }

    static QByteArray ContaFtp(int porta, const QByteArray& senha = SenhaFtp)
    {
        return "FTPHost=127.0.0.1\r\nFTPPort=" + QByteArray::number(porta) + "\r\nFTPUser=" + UsuarioFtp.toUtf8()
            + "\r\nFTPPass=" + Senha(senha) + "\r\nFTPDir=copias\r\n";
    }

    static QByteArray ContaEmail(int porta)
    {
        return "EmailSMTP=127.0.0.1\r\nEmailPort=" + QByteArray::number(porta) + "\r\nEmailUser=" + UsuarioEmail.toUtf8()
            + "\r\nEmailPass=" + Senha(SenhaEmail) + "\r\nEmailAute=1\r\nEmailFrom=" + UsuarioEmail.toUtf8()
            + "\r\nEmailDest=\"Suporte\" <" + Destinatario.toUtf8() + ">\r\nEmailAssu=Backup BASE\r\n";
    }

    // The archive the run left in the destination folder (empty when none).
    QString Arquivo() const
    {
        const QStringList zips = ConteudoPasta(destino).filter(QStringLiteral(".bkp.zip"));
        return zips.size() == 1 ? zips.first() : QString();
    }

    QStringList Recebidas() const { return QDir(caixa).entryList({QStringLiteral("*.eml")}); }
};

// A good run: the archive reaches the server byte for byte and the mailbox as an
// attachment equal to it; both stages show their texts and estimate lines.
TEST_F(Envio, ArquivoChegaAoFtpEAoEmail)
{
    auto ftp = Ftp();
    auto smtp = Smtp();
    ASSERT_TRUE(ftp->ok() && smtp->ok());
    inst.GravaConfig(ConfigFalso(destino, "Restaura=0\r\n" + ContaFtp(ftp->porta()) + ContaEmail(smtp->porta())));

    QElapsedTimer relogio;
    relogio.start();
    QByteArray saida;
    ASSERT_EQ(inst.Executa(Instalacao::AmbienteGbakFalso(QStringLiteral("tamanho=3000000")), &saida), 0)
        << saida.constData();
    const qint64 segundos = relogio.elapsed() / 1000;

    const QStringList linhas = inst.LinhasRegistro();
    ASSERT_EQ(linhas.size(), 1);
    const QString iniciado = linhas.first().mid(linhas.first().indexOf(QStringLiteral("; iniciado ")) + 11);
    ConfereLinha(linhas.first(), QStringLiteral(" - OK - Executado com sucesso; Email OK; FTP OK; iniciado ") + iniciado);

    const QString nome = Arquivo();
    ASSERT_FALSE(nome.isEmpty()) << ConteudoPasta(destino).join(QLatin1Char(' ')).toStdString();
    const QByteArray arquivo = LeArquivo(destino + nome);
    ASSERT_GT(arquivo.size(), 3000000);
    EXPECT_TRUE(LeArquivo(raiz + QStringLiteral("/copias/") + nome) == arquivo) << "byte-identical on the server";

    ASSERT_EQ(Recebidas(), QStringList{QStringLiteral("0.eml")});
    const QString anexo = dir.path() + QStringLiteral("/anexo");
    const QJsonObject m = LeEmail(caixa + QStringLiteral("/0.eml"), anexo);
    ASSERT_FALSE(m.isEmpty());
    EXPECT_EQ(m[QStringLiteral("para")][QStringLiteral("endereco")].toString(), Destinatario);
    EXPECT_EQ(m[QStringLiteral("assunto")].toString(), QStringLiteral("Backup BASE"));
    const QJsonArray partes = m[QStringLiteral("partes")].toArray();
    ASSERT_EQ(partes.size(), 2);
    EXPECT_EQ(partes[1].toObject()[QStringLiteral("nome")].toString(), nome);
    EXPECT_TRUE(LeArquivo(anexo) == arquivo) << "the attachment is the archive";

    // Upload first, then the e-mail; estimate lines at most one a second.
    const QString texto = QString::fromLocal8Bit(saida);
    const qsizetype ftpEm = texto.indexOf(QStringLiteral("\nEnviando FTP\n"));
    const qsizetype emailEm = texto.indexOf(QStringLiteral("\nEnviando Email...\n"));
    EXPECT_GE(ftpEm, 0) << saida.constData();
    EXPECT_GT(emailEm, ftpEm) << saida.constData();
    const qsizetype previsoes = texto.count(QRegularExpression(QStringLiteral("\nPrevisão: (Calculando - |\\d\\d:\\d\\dH \\()")));
    EXPECT_GE(previsoes, 1) << saida.constData();
    EXPECT_LE(previsoes, segundos + 1) << saida.constData();
}

// Faults of one stage: the run fails with "Local OK" and the stage's text, and the
// other stage still does its work.
TEST_F(Envio, FalhaDeUmEstagioNaoImpedeOOutro)
{
    const struct {
        const char* caso;
        QByteArray senhaFtp;
        QStringList extraSmtp;
        QString esperado;
        bool noServidor;
        bool naCaixa;
    } casos[] = {
        {"FTP password refused: the e-mail still goes", "errada", {},
         QStringLiteral(" - FALHA - Local OK; FTP: Authentication failed.; Email OK"), false, true},
        {"recipient refused by the SMTP server", SenhaFtp, {QStringLiteral("--recusa"), Destinatario},
         QStringLiteral(" - FALHA - Local OK; FTP OK; Email: 5.1.1 Caixa postal inexistente"), true, false},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        QDir(raiz + QStringLiteral("/copias")).removeRecursively();
        QDir().mkpath(raiz + QStringLiteral("/copias"));
        QDir(caixa).removeRecursively();
        QDir().mkpath(caixa);
        QFile::remove(inst.pasta + QStringLiteral("registro.txt"));
        // Each case's run must find its own archive alone, even when the two runs
        // fall in different minutes.
        for (const QString& f : ConteudoPasta(destino))
            QFile::remove(destino + f);
        auto ftp = Ftp();
        auto smtp = Smtp(c.extraSmtp);
        ASSERT_TRUE(ftp->ok() && smtp->ok());
        inst.GravaConfig(ConfigFalso(destino, "Restaura=0\r\nAlerta=1\r\n" + ContaFtp(ftp->porta(), c.senhaFtp)
                                                  + ContaEmail(smtp->porta())));
        QByteArray saida;
        EXPECT_EQ(inst.Executa(Instalacao::AmbienteGbakFalso(QString()), &saida), 1) << saida.constData();
        const QStringList linhas = inst.LinhasRegistro();
        ASSERT_EQ(linhas.size(), 1);
        ConfereLinha(linhas.first(), c.esperado);
        const QString nome = Arquivo();
        ASSERT_FALSE(nome.isEmpty());
        EXPECT_EQ(QFile::exists(raiz + QStringLiteral("/copias/") + nome), c.noServidor);
        EXPECT_EQ(Recebidas().size(), c.naCaixa ? 1 : 0);
    }
}

// A backup that failed is not sent anywhere: neither server hears a word.
TEST_F(Envio, BackupComFalhaNaoEnviaNada)
{
    auto ftp = Ftp();
    auto smtp = Smtp();
    ASSERT_TRUE(ftp->ok() && smtp->ok());
    inst.GravaConfig(ConfigFalso(destino, "Restaura=0\r\n" + ContaFtp(ftp->porta()) + ContaEmail(smtp->porta())));
    EXPECT_EQ(inst.Executa(Instalacao::AmbienteGbakFalso(QStringLiteral("erro_log"))), 1);
    const QStringList linhas = inst.LinhasRegistro();
    ASSERT_EQ(linhas.size(), 1);
    ConfereLinha(linhas.first(), QStringLiteral(" - FALHA - Detectado erro no registro da cópia."));
    EXPECT_FALSE(ftp->Erros().contains(QStringLiteral("COMANDO"))) << ftp->Erros().toStdString();
    EXPECT_EQ(ConteudoPasta(raiz + QStringLiteral("/copias")), QStringList());
    EXPECT_EQ(Recebidas(), QStringList());
}

// A server that accepts the connection and never answers: the runner's own
// time-outs end the stage, and the run with its failure line.
TEST_F(Envio, ServidorMudoTerminaNoTempoLimite)
{
    ServidorTeste mudo(QStringLiteral("mudo.py"), {});
    ASSERT_TRUE(mudo.ok());
    inst.GravaConfig(ConfigFalso(destino, "Restaura=0\r\n" + ContaFtp(mudo.porta())));
    QElapsedTimer relogio;
    relogio.start();
    QByteArray saida;
    EXPECT_EQ(inst.Executa(Instalacao::AmbienteGbakFalso(QString()), &saida), 1) << saida.constData();
    EXPECT_LT(relogio.elapsed(), 180000);
    const QStringList linhas = inst.LinhasRegistro();
    ASSERT_EQ(linhas.size(), 1);
    ConfereResultado(linhas.first(), QStringLiteral(" - FALHA - Local OK; FTP: Operation timed out after*"));
}

// Without any network interface the stage that comes first ends the run: no
// connection in the FTP stage means no e-mail either. The program runs in a
// network namespace of its own, where only a loopback that is down exists.
TEST_F(Envio, SemConexaoEncerraAExecucao)
{
    if (Executa(QStringLiteral("unshare"), {QStringLiteral("--net"), QStringLiteral("true")}) != 0)
        GTEST_SKIP() << "no network namespaces here";
    inst.envoltorio = {QStringLiteral("unshare"), QStringLiteral("--net")};
    const struct {
        const char* caso;
        QByteArray contas;
        QString esperado;
    } casos[] = {
        {"FTP and e-mail configured", ContaFtp(21) + ContaEmail(25), QStringLiteral(" - FALHA - Local OK; FTP sem conexão")},
        {"e-mail only", ContaEmail(25), QStringLiteral(" - FALHA - Local OK; Email sem conexão")},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        QFile::remove(inst.pasta + QStringLiteral("registro.txt"));
        inst.GravaConfig(ConfigFalso(destino, "Restaura=0\r\n" + c.contas));
        QByteArray saida;
        EXPECT_EQ(inst.Executa(Instalacao::AmbienteGbakFalso(QString()), &saida), 1) << saida.constData();
        const QStringList linhas = inst.LinhasRegistro();
        ASSERT_EQ(linhas.size(), 1);
        ConfereLinha(linhas.first(), c.esperado);
        EXPECT_FALSE(saida.contains("Enviando")) << saida.constData();
    }
}
}
