#pragma once
// Texts of the files the programs share (CONFIG.ini, registro.txt) are bytes in
// the machine's own 8-bit character set; every conversion goes through here.
#include <QByteArray>
#include <QString>

QString DeTextoLocal(const QByteArray& bytes);
QByteArray ParaTextoLocal(const QString& texto);

// The character set that the environment's locale (LC_ALL, LC_CTYPE, LANG) names,
// as the C library reports it: "UTF-8", "ISO-8859-1", ... Empty on platforms
// where the system code page is Qt's own local 8-bit encoding.
QByteArray CharsetLocal();
