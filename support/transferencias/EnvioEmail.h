#pragma once
// Sends the backup archive by e-mail through an SMTP server.
#include "transferencias/SessaoCurl.h"

#include <QByteArray>
#include <QString>

struct PedidoEmail {
    QString servidor;
    qint64 porta = 587;  // only its low 16 bits count; 465 means TLS from the first byte
    QString usuario;
    QByteArray senha;  // already unscrambled
    bool autentica = true;  // AUTH LOGIN with usuario and senha
    QString remetente;      // "Nome <endereco>" or a bare address
    QString destinatario;   // as configured: its double quotes are removed here
    QString assunto;
    QString arquivo;        // the archive to attach
    Progresso progresso;    // counts bytes of the composed message
    TemposLimite tempos;
};

// The address an SMTP command carries: the text between the first "<" and the
// next ">", or the whole setting when it has no such pair.
QString EnderecoSmtp(const QString& configurado);

// Composes the message and sends it, STARTTLS first when the server offers it
// (its certificate is not checked). Returns "; Email OK" only when the server
// accepted the message; "; Email: " + the server's reply when it refused anything
// after the connection was made, or + what went wrong otherwise.
QString EnviaEmail(const PedidoEmail& pedido);
