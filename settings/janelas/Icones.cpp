#include "janelas/Icones.h"

#include <QApplication>

QIcon Icone(const QString& nomeTema, QStyle::StandardPixmap padrao)
{
    return QIcon::fromTheme(nomeTema, QApplication::style()->standardIcon(padrao));
}
