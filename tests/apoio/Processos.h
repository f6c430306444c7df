#pragma once
// Running other programs from a test.
#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Runs a program directly; returns its exit code (-1 when it did not start) and
// fills its standard output and error.
int Executa(const QString& programa, const QStringList& argumentos, QByteArray* saida = nullptr,
            const QByteArray& entrada = {}, const QProcessEnvironment& ambiente = QProcessEnvironment::systemEnvironment());
