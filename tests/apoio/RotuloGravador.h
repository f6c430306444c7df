#pragma once
// A status label that remembers every text it was given, in order.
#include "plataforma/Controles.h"

#include <QStringList>

class RotuloGravador : public RotuloMemoria {
public:
    QStringList historico;
    void defineTexto(const QString& texto) override
    {
        RotuloMemoria::defineTexto(texto);
        historico << texto;
    }
};
