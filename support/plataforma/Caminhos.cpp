#include "plataforma/Caminhos.h"

#include <QDir>
#include <QFileInfo>

QString Aspas(const QString& caminho)
{
    if (!caminho.contains(QLatin1Char('"')) && caminho.contains(QLatin1Char(' ')))
        return QLatin1Char('"') + caminho + QLatin1Char('"');
    return caminho;
}

bool VerificaPasta(const QString& pasta)
{
    if (pasta.isEmpty())
        return false;
    if (QFileInfo(pasta).isDir())
        return true;
    return QDir().mkdir(pasta);
}
