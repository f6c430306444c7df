// The parallel deflate stream on its own: pieces made by any number of workers
// join into one stream that zlib inflates back to the file, in file order.
#include "apoio/Arquivos.h"
#include "apoio/Texto.h"
#include "apoio/Zip.h"
#include "arquivos/DeflateParalelo.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <zlib.h>

#include <cerrno>
#include <cstring>

namespace {

struct Fluxo {
    QByteArray bytes;
    quint32 crc = 0;
    QString erro;
};

Fluxo LeFluxo(const QString& arquivo, qint64 tamanho, int trabalhadores)
{
    DeflateParalelo deflate(arquivo, tamanho, trabalhadores);
    Fluxo fluxo;
    for (;;) {
        DeflateParalelo::Proximo p = deflate.ProximoPedaco();
        if (!p.erro.isEmpty()) {
            fluxo.erro = p.erro;
            return fluxo;
        }
        if (p.fim)
            break;
        fluxo.bytes += p.bytes;
    }
    fluxo.crc = deflate.crc();
    return fluxo;
}


// Pieces of every kind in a row: text, noise that deflate stores, and a pattern
// whose matches reach back across piece boundaries; the tail is a partial piece.
QByteArray Misturado()
{
    QByteArray bytes;
    QRandomGenerator gerador(3);
    for (int i = 0; bytes.size() < 2 * kTamanhoPedaco; ++i)
        bytes += QByteArray::number(i) + "|CLIENTE " + QByteArray::number(gerador.bounded(5000)) + "|2023-12-01\n";
    QByteArray ruido(kTamanhoPedaco + 777, Qt::Uninitialized);
    gerador.fillRange(reinterpret_cast<quint32*>(ruido.data()), ruido.size() / 4);
    bytes += ruido;
    while (bytes.size() < 5 * kTamanhoPedaco + 4321)
        bytes += "padrao-que-se-repete-";
    return bytes;
}

} // namespace

class DeflateParaleloTrabalhadores : public ::testing::TestWithParam<int> {};

TEST_P(DeflateParaleloTrabalhadores, FluxoIgualAoDeUmSoTrabalhadorEInflaAoOriginal)
{
    QTemporaryDir dir;
    const QString arquivo = PastaTeste(dir) + QStringLiteral("/dados.bkp");
    const QByteArray conteudo = Misturado();
    ASSERT_TRUE(GravaArquivo(arquivo, conteudo));

    const Fluxo um = LeFluxo(arquivo, conteudo.size(), 1);
    const Fluxo varios = LeFluxo(arquivo, conteudo.size(), GetParam());

    ASSERT_TRUE(um.erro.isEmpty()) << um.erro.toStdString();
    ASSERT_TRUE(varios.erro.isEmpty()) << varios.erro.toStdString();
    EXPECT_TRUE(varios.bytes == um.bytes) << "a ordem dos pedaços depende de quantos trabalham";
    EXPECT_TRUE(Infla(varios.bytes) == conteudo);
    EXPECT_EQ(varios.crc, crc32_z(0, reinterpret_cast<const Bytef*>(conteudo.constData()),
                                  static_cast<z_size_t>(conteudo.size())));
}

INSTANTIATE_TEST_SUITE_P(Casos, DeflateParaleloTrabalhadores, ::testing::Values(2, 3, 8));

struct CasoFalhaFluxo {
    const char* descricao;
    qint64 anunciado;  // bytes announced; the file holds 3 pieces
    bool apaga;        // the file is gone before the workers open it
    QString motivo;
};
void PrintTo(const CasoFalhaFluxo& caso, std::ostream* os) { *os << caso.descricao; }

class DeflateParaleloFalha : public ::testing::TestWithParam<CasoFalhaFluxo> {};

// Every worker stops and the reader gets the reason, never a stream that looks whole.
TEST_P(DeflateParaleloFalha, ErroChegaAoLeitor)
{
    const CasoFalhaFluxo& caso = GetParam();
    QTemporaryDir dir;
    const QString arquivo = PastaTeste(dir) + QStringLiteral("/dados.bkp");
    ASSERT_TRUE(GravaArquivo(arquivo, QByteArray(3 * kTamanhoPedaco, 'a')));
    if (caso.apaga) {
        ASSERT_TRUE(QFile::remove(arquivo));
    }

    const Fluxo fluxo = LeFluxo(arquivo, caso.anunciado, 4);

    EXPECT_TRUE(fluxo.erro.contains(caso.motivo)) << fluxo.erro.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Casos, DeflateParaleloFalha,
    ::testing::Values(CasoFalhaFluxo{"arquivo_menor_que_o_anunciado", 7 * kTamanhoPedaco + 5, false,
                                     QStringLiteral("o arquivo diminuiu durante a compactação")},
                      CasoFalhaFluxo{"arquivo_inexistente", 3 * kTamanhoPedaco, true, QString::fromLocal8Bit(std::strerror(ENOENT))}),
    [](const ::testing::TestParamInfo<CasoFalhaFluxo>& info) { return std::string(info.param.descricao); });

// A reader that gives up after one piece (libzip failing to write) must not leave
// workers blocked on the bounded queue.
TEST(DeflateParalelo, AbandonadoNoMeioEncerraOsTrabalhadores)
{
    QTemporaryDir dir;
    const QString arquivo = PastaTeste(dir) + QStringLiteral("/dados.bkp");
    ASSERT_TRUE(GravaArquivo(arquivo, QByteArray(20 * kTamanhoPedaco, 'b')));
    {
        DeflateParalelo deflate(arquivo, 20 * kTamanhoPedaco, 2);
        EXPECT_FALSE(deflate.ProximoPedaco().bytes.isEmpty());
    }
}
