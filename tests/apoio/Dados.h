#pragma once
// Test inputs that look like what the programs really handle.
#include <QByteArray>

// Records of a dump whose every line carries a random hexadecimal identifier, as
// backups of tables keyed by UUIDs do: text where short matches are mostly chance.
QByteArray RegistrosComIdentificadores(qsizetype tamanho, quint32 semente);
