#include "ExecutaOculto.h"

#include "Plataforma.h"

bool ExecutaOculto(const QString& linhaComando)
{
    QStringList argumentos = DivideLinhaComando(linhaComando);
    if (argumentos.isEmpty())
        return false;
    const QString programa = LocalizaPrograma(argumentos.takeFirst());
    if (programa.isEmpty())
        return false;
    return ExecutaProcesso(programa, argumentos);
}
