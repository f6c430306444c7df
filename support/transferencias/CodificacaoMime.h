#pragma once
// Text encodings of a MIME message (RFC 2045, 2047, 2231): everything that is not
// plain ASCII is written so that any mail reader shows it as typed, in UTF-8.
#include <QByteArray>
#include <QString>

// An unstructured header value (Subject): as it is when it is short printable
// ASCII, otherwise folded RFC 2047 "B" words. Line breaks never survive.
QByteArray CabecalhoTexto(const QString& valor);

// An address header value written as `Nome <endereco>` or a bare address: a
// display name with other than ASCII becomes RFC 2047 words; the address stays.
QByteArray CabecalhoEndereco(const QString& valor);

// A Content-Type / Content-Disposition parameter: `nome="valor"`, or the RFC 2231
// form `nome*=UTF-8''...` when the value is not plain ASCII.
QByteArray Parametro(const QByteArray& nome, const QString& valor);

// Quoted-printable body text (lines broken at CRLF, soft breaks kept under 76).
QByteArray QuotedPrintable(const QByteArray& texto);

// Base64 of whole input lines: every 57 bytes give one 76-character line + CRLF.
// `destino` needs TamanhoBase64(tamanho) bytes; returns the count written.
qint64 TamanhoBase64(qint64 bytes);
qint64 Base64Linhas(const char* origem, qint64 tamanho, char* destino);
