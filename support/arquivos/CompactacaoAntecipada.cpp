#include "arquivos/CompactacaoAntecipada.h"

#include "arquivos/Compacta.h"

#include <QFile>

CompactacaoAntecipada::CompactacaoAntecipada(QString arquivo, QString arquivoZip)
    : arquivo_(std::move(arquivo)), arquivoZip_(std::move(arquivoZip))
{
    temporario_ = std::async(std::launch::async, [a = arquivo_, z = arquivoZip_] { return PreparaArquivo(a, z); });
}

CompactacaoAntecipada::~CompactacaoAntecipada() { Descarta(); }

void CompactacaoAntecipada::Publica()
{
    // get() hands on the packing's own Erro.
    PublicaArquivo(temporario_.get(), arquivo_, arquivoZip_);
}

void CompactacaoAntecipada::Descarta()
{
    if (!temporario_.valid())
        return;
    try {
        QFile::remove(temporario_.get());
    } catch (...) {
        // A packing that failed left nothing behind.
    }
}
