#include "apoio/Dados.h"

#include <QRandomGenerator>

QByteArray RegistrosComIdentificadores(qsizetype tamanho, quint32 semente)
{
    QRandomGenerator gerador(semente);
    QByteArray bytes;
    bytes.reserve(tamanho + 200);
    for (int i = 0; bytes.size() < tamanho; ++i) {
        bytes += QByteArray::number(i).rightJustified(9, '0') + "|Pagamento ref. nota " + QByteArray::number(gerador.bounded(999983))
                 + " - " + QByteArray::number(gerador.generate64(), 16).rightJustified(16, '0')
                 + QByteArray::number(gerador.generate64(), 16).rightJustified(16, '0') + '|'
                 + QByteArray::number(gerador.bounded(1000000)) + '\n';
    }
    bytes.truncate(tamanho);
    return bytes;
}
