#pragma once
#include <QString>

// The folders one backup works with, derived from the destination folder (D), the
// folder as the database server sees it (L) and the same folder as this machine
// reaches it through a share (R).
struct PapeisPastas {
    QString pastaGbak;       // prefix of every path inside a gbak command line
    QString pastaObservada;  // where gbak's report and backup are looked for
    QString pastaArquivo;    // where the backup is compressed
    QString pastaDestino;    // where the archive must end up; the folder pruned
    bool moveAntes = false;  // copy the backup to the destination before compressing
    bool moveDepois = false; // copy the archive to the destination after compressing
};

// Case A: only D. Case B: only L (works in the program folder, archive goes to L).
// Case C: L and R, D empty or equal to R. Case D: L and R, D elsewhere.
// Any other combination leaves every folder empty.
PapeisPastas DefinePapeis(const QString& destino, const QString& log, const QString& rede, const QString& pastaPrograma);
