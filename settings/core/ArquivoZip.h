#pragma once
// Reading the runner's ZIP archives for a restore.
#include <QString>
#include <QStringList>

// True when the file is a ZIP archive: it starts with a local-file header
// ("PK\3\4") or, for an archive without entries, with the end record ("PK\5\6").
// What the file is decides, not its name or its folder's.
bool EhArquivoZip(const QString& arquivo);

// Deletes every entry of the folder that is not a folder (hidden ones included).
// A file that cannot be deleted stays; a missing folder is left alone.
void LimpaPasta(const QString& pasta);

struct Extracao {
    QStringList arquivos;  // full paths of the files written, in the archive's order
    QString erro;          // empty when every entry was written
};

// Writes every file entry of the archive straight into `pasta` (created when
// missing) under its base name: the folders stored in the archive are dropped, so
// no entry ("../../x", "/etc/x", "C:\x") can land outside `pasta`. Entries whose
// base name is empty, "." or ".." are skipped. Stops at the first failure.
Extracao ExtraiArquivo(const QString& arquivoZip, const QString& pasta);
