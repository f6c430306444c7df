#pragma once
// The password scrambler both programs share: a byte-wise scrambler with a 16-bit
// running key, so that each program reads what the other wrote.
#include <QByteArray>

// Mode exactly "C" scrambles; any other mode unscrambles. The result has the
// length of `texto`; every byte value may occur in it.
QByteArray Cripto(const QByteArray& modo, const QByteArray& texto);
