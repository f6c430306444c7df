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
    if (!Executavel(comando.programa))
        return ProcessoNaoIniciado;
    return ExecutaProcesso(QFileInfo(comando.programa).absoluteFilePath(), DivideLinhaComando(comando.argumentos),
                           AmbienteDaConta(comando.senha));
}
