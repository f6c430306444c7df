#pragma once
#include <QString>

// Packs `arquivo` into the ZIP archive `arquivoZip` (one entry named after the
// file, deflate, ZIP64 when needed), then deletes `arquivo`. The file is deflated
// on every core in bounded memory (see arquivos/DeflateParalelo.h). Touches no
// GUI and no state shared between calls, so it may run on any thread.
// The archive is written under a temporary name in its folder and renamed only
// once it is complete and flushed to disk; an archive of that name that already
// exists is replaced. On any failure (unreadable file, full disk, library error)
// throws Erro with a clear Portuguese text, leaves no partial archive behind and
// keeps `arquivo` in place.
void Compacta(const QString& arquivo, const QString& arquivoZip);

// The two halves of Compacta, for a caller that builds the archive while it still
// decides whether to keep it (the test restore runs meanwhile):
// PreparaArquivo writes the complete archive, flushed to disk, under a hidden
// temporary name in the archive's folder and returns that name; `arquivo` stays.
// Throws Erro as Compacta does, leaving nothing behind.
QString PreparaArquivo(const QString& arquivo, const QString& arquivoZip);
// Gives the prepared archive its name (replacing one of that name) and deletes
// `arquivo`. Throws Erro as Compacta does.
void PublicaArquivo(const QString& temporario, const QString& arquivo, const QString& arquivoZip);
