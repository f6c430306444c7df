#pragma once
// How a scrambled password is stored as a value of CONFIG.ini.
//
// A scrambled text can hold any byte, but a profile value cannot carry a NUL, a
// line break, blanks at either end or an enclosing pair of quotes: the reader
// drops or cuts them. Passwords whose scrambled bytes need none of that are stored
// byte for byte, exactly as they always were. The others are stored as their bytes
// in hexadecimal between single quotes, written inside double quotes so the reader
// hands the single quotes back: a value that reads back enclosed in quotes cannot
// be a password stored byte for byte, so the two forms never meet.
#include <QByteArray>

// The value to write for a scrambled password.
QByteArray FormaGuardada(const QByteArray& embaralhada);

// The scrambled password of a value as the reader returned it.
QByteArray DeFormaGuardada(const QByteArray& lida);
