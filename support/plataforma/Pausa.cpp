#include "plataforma/Pausa.h"

#include <QCoreApplication>
#include <QThread>

namespace {
std::function<void(int)>& pausaAtual()
{
    static std::function<void(int)> pausa;
    return pausa;
}
}

void Pausa(int milissegundos)
{
    if (pausaAtual())
        pausaAtual()(milissegundos);
    else
        QThread::msleep(static_cast<unsigned long>(milissegundos));
}

void DefinePausa(std::function<void(int)> pausa) { pausaAtual() = std::move(pausa); }

void Bombeia()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}
