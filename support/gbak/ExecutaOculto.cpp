#include "gbak/ExecutaOculto.h"

#include "gbak/ComandoGbak.h"

#include <QFileInfo>

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

int ExecutaGbakOculto(const ComandoGbak& comando)
{
    const QFileInfo programa(comando.programa);
    if (!programa.isFile() || !programa.isExecutable())
        return ProcessoNaoIniciado;
    return ExecutaProcesso(programa.absoluteFilePath(), DivideLinhaComando(comando.argumentos),
                           AmbienteDaConta(comando.senha));
}
