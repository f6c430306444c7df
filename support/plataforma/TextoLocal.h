#pragma once
// Texts of the files the programs share (CONFIG.ini, registro.txt) are bytes in
// the machine's own 8-bit character set; every conversion goes through here.
#include <QByteArray>
#include <QString>

QString DeTextoLocal(const QByteArray& bytes);
QByteArray ParaTextoLocal(const QString& texto);
