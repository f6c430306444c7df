#pragma once
#include <QString>

// Copies `origem` to `destino`, replacing a file of that name. The copy is written
// under a temporary name beside `destino`, flushed to disk and only then renamed,
// so a failure (full disk, unreadable source) never leaves a partial file under
// the final name and never touches an existing one. Throws Erro naming both files.
void CopiaArquivo(const QString& origem, const QString& destino);
