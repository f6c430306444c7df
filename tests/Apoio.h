#pragma once
// Shared test fixtures.
#include <QString>
#include <QTemporaryDir>

// A scratch folder removed at the end of the test; path() ends without a separator.
QString PastaTeste(const QTemporaryDir& dir, const QString& sub = {});

// Writes bytes to a file, creating it; returns false on failure.
bool GravaArquivo(const QString& caminho, const QByteArray& bytes);
QByteArray LeArquivo(const QString& caminho);
