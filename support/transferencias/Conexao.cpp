#include "transferencias/Conexao.h"

#include <QNetworkInterface>

bool ConectadoInternet()
{
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& i : interfaces) {
        const auto f = i.flags();
        if (f.testFlag(QNetworkInterface::IsLoopBack) || !f.testFlag(QNetworkInterface::IsUp)
            || !f.testFlag(QNetworkInterface::IsRunning))
            continue;
        if (!i.addressEntries().isEmpty())
            return true;
    }
    return false;
}
