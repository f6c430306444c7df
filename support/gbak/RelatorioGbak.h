#pragma once
// Reading what gbak leaves behind: its report file (-y) is the only verdict.
#include <QByteArray>
#include <QString>

class Memo;

// Looks for the file; while it is missing pauses one second and looks again, at
// most `pausas` times. True when it was found.
bool AguardaArquivo(const QString& caminho, int pausas = 20);

// Loads the whole report into the log buffer and returns its text. Throws Erro
// "Impossível abrir arquivo <path>" when it cannot be read.
QByteArray CarregaRelatorio(Memo& memo, const QString& caminho);

// True when the report holds one of gbak's own error lines: "gbak: ERROR:..."
// (any letter case, blanks or none after the colon), a line that starts with
// "ERROR:", or gbak's "Exiting before completion due to errors". The names of
// tables, fields and files the report lists never count, whatever they hold.
bool RelatorioTemErro(const QByteArray& texto);

// gbak's own verdict, which a report cut short by a crash cannot give: empty when
// it ended normally with code 0, otherwise the message for the run log.
QString FalhaDoGbak(int saida);

