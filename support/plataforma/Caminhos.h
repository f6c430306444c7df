#pragma once
#include <QString>

// The path enclosed in double quotes when it holds a blank and no double quote.
QString Aspas(const QString& caminho);

// True when the folder exists or could be created (one level: its parent must
// exist). An empty text is false.
bool VerificaPasta(const QString& pasta);
