#pragma once
// The backup e-mail as a stream: headers, the two-line preamble, a text part with
// the subject and the archive as a base64 attachment. The archive is read and
// encoded block by block as the sender pulls bytes, so memory stays flat whatever
// its size, and the whole size is known before the first byte goes.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <vector>

struct DadosMensagem {
    QString remetente;     // From, as written in the settings
    QString destinatario;  // To, as written (double quotes already removed)
    QString assunto;       // Subject and the one line of the text part
    QString arquivo;       // the archive to attach
    QByteArray limite;     // multipart boundary; empty: a fresh random one
};

class ComposicaoEmail {
public:
    explicit ComposicaoEmail(DadosMensagem dados);

    // Opens the archive and lays out the message. Empty text on success, otherwise
    // why the message cannot be built.
    QString Abre();

    // Bytes of the whole message, known once Abre succeeded.
    qint64 Tamanho() const { return tamanho_; }

    // Copies the next bytes of the message; 0 at its end, -1 when the archive can
    // no longer be read as it was (Erro() says why).
    qint64 Le(char* destino, qint64 maximo);
    const QString& Erro() const { return erro_; }

    // The multipart boundary in use.
    const QByteArray& Limite() const { return dados_limite_; }

private:
    bool EncheBloco();

    DadosMensagem dados_;
    QByteArray dados_limite_;
    QFile arquivo_;
    qint64 bytesArquivo_ = 0;
    qint64 lidosArquivo_ = 0;
    QByteArray inicio_;  // everything before the attachment's base64
    QByteArray fim_;     // everything after it
    qint64 tamanho_ = 0;
    qint64 posicao_ = 0;  // bytes of the message already handed out
    std::vector<char> bruto_;
    std::vector<char> codificado_;
    qint64 noBloco_ = 0;   // encoded bytes in codificado_
    qint64 doBloco_ = 0;   // of which already handed out
    QString erro_;
};
