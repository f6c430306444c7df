#include "procedimento/PapeisPastas.h"

PapeisPastas DefinePapeis(const QString& destino, const QString& log, const QString& rede, const QString& pastaPrograma)
{
    const bool d = !destino.isEmpty(), l = !log.isEmpty(), r = !rede.isEmpty();
    PapeisPastas p;
    if (d && !l && !r) {
        p.pastaGbak = p.pastaObservada = p.pastaArquivo = p.pastaDestino = destino;
    } else if (!d && l && !r) {
        p.pastaGbak = p.pastaObservada = p.pastaArquivo = pastaPrograma;
        p.pastaDestino = log;
        p.moveDepois = true;
    } else if (l && r && (!d || destino == rede)) {
        p.pastaGbak = log;
        p.pastaObservada = p.pastaArquivo = p.pastaDestino = rede;
    } else if (d && l && r) {
        p.pastaGbak = log;
        p.pastaObservada = rede;
        p.pastaArquivo = p.pastaDestino = destino;
        p.moveAntes = true;
    }
    return p;
}
