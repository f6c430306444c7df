#include "apoio/Servidores.h"

#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QTcpServer>

namespace {
const QString Python = QStringLiteral("/usr/bin/python3");

QString Script(const QString& nome)
{
    return QStringLiteral(VAULTRUN_TESTS_DIR "/pares/servidores/") + nome;
}
}

ServidorTeste::ServidorTeste(const QString& script, const QStringList& argumentos)
{
    processo_.start(Python, QStringList{QStringLiteral("-u"), Script(script)} + argumentos);
    if (!processo_.waitForStarted(10000))
        return;
    const QDeadlineTimer prazo(20000);
    while (!prazo.hasExpired()) {
        if (processo_.canReadLine()) {
            const QByteArray linha = processo_.readLine().trimmed();
            if (linha.startsWith("PORTA "))
                porta_ = linha.mid(6).toInt();
            return;
        }
        if (processo_.state() != QProcess::Running)
            return;
        processo_.waitForReadyRead(200);
    }
}

ServidorTeste::~ServidorTeste()
{
    if (processo_.state() != QProcess::NotRunning) {
        processo_.kill();
        processo_.waitForFinished(5000);
    }
}

QString ServidorTeste::Erros()
{
    // The server writes as it works: take in whatever comes within a short pause.
    processo_.setReadChannel(QProcess::StandardError);
    do
        erros_ += processo_.readAllStandardError();
    while (processo_.waitForReadyRead(300));
    return QString::fromUtf8(erros_);
}

int PortaRecusada()
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    const int porta = s.serverPort();
    s.close();
    return porta;
}

bool CriaCertificado(const QString& pasta, QString* certificado, QString* chave)
{
    *certificado = pasta + QStringLiteral("/cert.pem");
    *chave = pasta + QStringLiteral("/chave.pem");
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("openssl"),
            {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("rsa:2048"),
             QStringLiteral("-nodes"), QStringLiteral("-days"), QStringLiteral("1"), QStringLiteral("-subj"),
             QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-keyout"), *chave, QStringLiteral("-out"), *certificado});
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

QJsonObject LeEmail(const QString& eml, const QString& anexo)
{
    QProcess p;
    p.start(Python, {Script(QStringLiteral("le_email.py")), eml, anexo});
    p.waitForFinished(120000);
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}
