#pragma once
// Archives read by independent readers.
#include <QByteArray>
#include <QString>
#include <QStringList>

// Reads a ZIP archive with independent readers: `unzip -t` must pass, and Python's
// zipfile gives the entry names and the first entry's bytes.
struct ConteudoZip {
    bool integro = false;
    QStringList nomes;
    QByteArray primeiro;
    QString metodo;  // compression of the first entry as zipfile names it
};
ConteudoZip LeZip(const QString& arquivo);


// zlib's inflate of a raw deflate stream; null when the stream is broken, ends
// early or is followed by stray bytes.
QByteArray Infla(const QByteArray& fluxo);
