#include "configuracao/Cripto.h"

#include <cstdint>

namespace {
constexpr std::uint16_t Semente = 0x6A19;
constexpr std::uint16_t Multiplicador = 0x9D27;
constexpr std::uint16_t Incremento = 0x31C5;
}

QByteArray Cripto(const QByteArray& modo, const QByteArray& texto)
{
    const bool embaralha = modo == "C";
    QByteArray resultado(texto.size(), Qt::Uninitialized);
    std::uint16_t chave = Semente;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const auto b = static_cast<std::uint8_t>(texto[i]);
        const auto o = static_cast<std::uint8_t>(b ^ (chave >> 8));
        resultado[i] = static_cast<char>(o);
        // The next key comes from this position's scrambled byte in both
        // directions, which is what lets unscrambling undo scrambling.
        const std::uint16_t c = embaralha ? o : b;
        chave = static_cast<std::uint16_t>((c + Semente) * Multiplicador + Incremento);
    }
    return resultado;
}
