#include "ExecutaOculto.h"

#include "Plataforma.h"

int ExecutaOcultoComSaida(const QString& linhaComando)
{
    QStringList argumentos = DivideLinhaComando(linhaComando);
    if (argumentos.isEmpty())
        return ProcessoNaoIniciado;
    const QString programa = LocalizaPrograma(argumentos.takeFirst());
    if (programa.isEmpty())
        return ProcessoNaoIniciado;
    return ExecutaProcesso(programa, argumentos);
}

bool ExecutaOculto(const QString& linhaComando) { return ExecutaOcultoComSaida(linhaComando) != ProcessoNaoIniciado; }
