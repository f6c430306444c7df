#pragma once
// Real peers for the transfer tests: the Python servers under tests/pares/servidores,
// started on loopback with a free port and stopped with the test.
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>

class ServidorTeste {
public:
    // Starts tests/pares/servidores/<script> with Debian's interpreter and waits for the
    // "PORTA <n>" line it prints once it listens.
    ServidorTeste(const QString& script, const QStringList& argumentos);
    ~ServidorTeste();
    ServidorTeste(const ServidorTeste&) = delete;
    ServidorTeste& operator=(const ServidorTeste&) = delete;

    int porta() const { return porta_; }
    bool ok() const { return porta_ > 0; }
    // Everything the server wrote to standard error so far.
    QString Erros();

private:
    QProcess processo_;
    int porta_ = 0;
    QByteArray erros_;
};

// A loopback port on which nothing listens: connecting to it is refused.
int PortaRecusada();

// A self-signed certificate and its key for 127.0.0.1, made with openssl.
bool CriaCertificado(const QString& pasta, QString* certificado, QString* chave);

// Parses a received message with Python's email package (tests/pares/servidores/
// le_email.py); the attachment's decoded bytes are written to `anexo`.
QJsonObject LeEmail(const QString& eml, const QString& anexo);
