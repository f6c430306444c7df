#pragma once
// Pieces of the URLs handed to libcurl, built from settings typed by a person.
#include <QByteArray>
#include <QString>
#include <optional>

// "scheme://host:port" with an IPv6 address in brackets. Empty when the host
// cannot be a server name (empty, blanks, or characters that would change the URL).
std::optional<QByteArray> UrlServidor(const QByteArray& esquema, const QString& host, int porta);

// A path segment with every byte percent-encoded except unreserved characters and
// '/', so any folder or file name reaches the server as typed.
QByteArray CodificaCaminho(const QString& caminho);
