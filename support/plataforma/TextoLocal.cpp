#include "plataforma/TextoLocal.h"

QString DeTextoLocal(const QByteArray& bytes) { return QString::fromLocal8Bit(bytes); }

QByteArray ParaTextoLocal(const QString& texto) { return texto.toLocal8Bit(); }
