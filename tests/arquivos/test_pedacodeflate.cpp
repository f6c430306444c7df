// Pieces of one stream made apart: whichever compressor a piece gets, the pieces
// laid end to end inflate, with zlib, to the input.
#include "apoio/Arquivos.h"
#include "apoio/Dados.h"
#include "apoio/Texto.h"
#include "apoio/Zip.h"
#include "arquivos/PedacoDeflate.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>
#include <zlib.h>

#include <array>
#include <optional>
#include <ostream>
#include <tuple>

namespace {


QByteArray Repetido(qsizetype tamanho)
{
    QByteArray bytes;
    for (int i = 0; bytes.size() < tamanho; ++i)
        bytes += "Cliente " + QByteArray::number(i % 5000) + "|Cidade " + QByteArray::number(i % 301) + "|2023-12-01\n";
    bytes.truncate(tamanho);
    return bytes;
}

QByteArray Ruido(qsizetype tamanho)
{
    QByteArray bytes(tamanho, Qt::Uninitialized);
    QRandomGenerator(17).fillRange(reinterpret_cast<quint32*>(bytes.data()), tamanho / 4);
    return bytes;
}

} // namespace

void PrintTo(Compressor c, std::ostream* os) { *os << (c == Compressor::Libdeflate ? "libdeflate" : "zlib"); }

struct CasoPedacos {
    const char* descricao;
    QByteArray conteudo;
};
void PrintTo(const CasoPedacos& caso, std::ostream* os) { *os << caso.descricao; }

using Sequencia = std::array<std::optional<Compressor>, 3>;
constexpr auto L = Compressor::Libdeflate;
constexpr auto Z = Compressor::Zlib;

class PedacosEmSequencia : public ::testing::TestWithParam<std::tuple<CasoPedacos, Sequencia>> {};

// Every way two pieces can meet (each compressor after itself and after the
// other, and the trial's own choice) on inputs of every kind.
TEST_P(PedacosEmSequencia, JuntosInflamAoOriginal)
{
    const auto& [caso, sequencia] = GetParam();
    // Three pieces of uneven sizes, the last one short, each with the input
    // before it as its history.
    const qsizetype cortes[] = {0, kTamanhoPedaco / 3, kTamanhoPedaco / 3 + kTamanhoPedaco, caso.conteudo.size()};
    const QByteArrayView tudo(caso.conteudo);
    CompressorPedacos compressor;
    QByteArray fluxo;
    for (int i = 0; i < 3; ++i) {
        const PedacoDeflate pedaco = compressor.Comprime(
            tudo.first(cortes[i]), tudo.sliced(cortes[i], cortes[i + 1] - cortes[i]), i == 2, sequencia[i]);
        ASSERT_TRUE(pedaco.erro.isEmpty()) << pedaco.erro.toStdString();
        if (sequencia[i]) {
            EXPECT_EQ(pedaco.compressor, *sequencia[i]);
        }
        fluxo += pedaco.bytes;
    }
    EXPECT_TRUE(Infla(fluxo) == caso.conteudo);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, PedacosEmSequencia,
    ::testing::Combine(::testing::Values(CasoPedacos{"repetido", Repetido(2 * kTamanhoPedaco)},
                                         CasoPedacos{"ruido", Ruido(2 * kTamanhoPedaco)},
                                         CasoPedacos{"identificadores", RegistrosComIdentificadores(2 * kTamanhoPedaco, 4)}),
                       ::testing::Values(Sequencia{L, L, L}, Sequencia{Z, Z, Z}, Sequencia{L, Z, L}, Sequencia{Z, L, Z},
                                         Sequencia{})),
    [](const auto& info) {
        std::string nome = std::get<0>(info.param).descricao;
        nome += '_';
        for (const auto& c : std::get<1>(info.param))
            nome += !c ? 'a' : (*c == L ? 'L' : 'Z');
        return nome;
    });
