#include "apoio/Processos.h"

#include <QProcess>

int Executa(const QString& programa, const QStringList& argumentos, QByteArray* saida, const QByteArray& entrada,
            const QProcessEnvironment& ambiente)
{
    QProcess p;
    p.setProcessEnvironment(ambiente);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(programa, argumentos);
    if (!p.waitForStarted(-1))
        return -1;
    if (!entrada.isEmpty())
        p.write(entrada);
    p.closeWriteChannel();
    p.waitForFinished(-1);
    if (saida)
        *saida = p.readAll();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}
