#pragma once
#include <QString>
#include <QStringList>

// Ordinary files matching `mascara` (a folder path, a separator and a wildcard
// pattern such as *.zip, matched without regard to case); folders and hidden files
// are left out. `modo`: contains "NOME" -> bare names, otherwise
// "yyyymmdd=" + name with the local modification day; fifth character 'C' ->
// ascending, otherwise descending; contains "DATA" -> the 9-character date prefix
// is removed after sorting. Sorting compares whole entries without regard to case.
QStringList ListaArquivos(const QString& mascara, const QString& modo);

// Deletes the oldest files of `pasta` that match the wildcard `padrao` (any case)
// so that no more than `copias` - 1 of them remain, newest day first and, in one
// day, by descending name. `exceto` (a bare file name) is never listed, so the
// archive a run has just made is never a candidate. Failed deletions are skipped;
// nothing is reported. copias <= 0 does nothing.
void ApagaAntigos(const QString& pasta, const QString& padrao, int copias, const QString& exceto = {});

// The wildcard of the archives the runner makes for a database:
// name + "-dd-mm-yyyy-hhnn.bkp.zip". Nothing else in a destination folder (a
// user's own .zip files, another database's archives) ever matches it.
QString PadraoArquivos(const QString& nomeBanco);
