// What the runner shows while the archive travels: the bar's steps for byte counts
// beyond an int, the e-mail's percent, and the estimate line in whole kilobytes.
#include "Envio.h"
#include "plataforma/DataHora.h"

#include <climits>
#include <gtest/gtest.h>

namespace {
constexpr qint64 GiB = qint64(1) << 30;

TEST(PassoDaBarra, CabeNaBarraEGuardaAProporcao)
{
    const struct {
        const char* caso;
        qint64 feito;
        qint64 total;
    } casos[] = {
        {"nothing to send", 0, 0},
        {"small archive, halfway", 512, 1024},
        {"largest count an int holds, done", INT_MAX, INT_MAX},
        {"one byte over an int, at the start", 0, qint64(INT_MAX) + 1},
        {"3 GiB, one byte short of the end", 3 * GiB - 1, 3 * GiB},
        {"3 GiB, done", 3 * GiB, 3 * GiB},
        {"5 GiB, a third", 5 * GiB / 3, 5 * GiB},
        {"6 TiB, nearly done", 6 * 1024 * GiB - 4096, 6 * 1024 * GiB},
        {"a count past the total is the total", 11 * GiB, 10 * GiB},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        const PassoBarra p = PassoDaBarra(c.feito, c.total);
        EXPECT_GE(p.posicao, 0);
        EXPECT_LE(p.posicao, p.maximo);
        if (c.total <= INT_MAX) {
            EXPECT_EQ(p.maximo, c.total) << "byte for byte while it fits";
            EXPECT_EQ(p.posicao, c.feito);
            continue;
        }
        EXPECT_GT(p.maximo, INT_MAX / 2) << "the bar keeps its fine steps";
        EXPECT_EQ(p.posicao == p.maximo, c.feito >= c.total) << "full only at the end";
        const double proporcao = double(qMin(c.feito, c.total)) / double(c.total);
        EXPECT_NEAR(double(p.posicao) / double(p.maximo), proporcao, 1e-6);
    }
}

TEST(Percentual, DoEmailDe0A100)
{
    const struct {
        qint64 feito;
        qint64 total;
        int esperado;
    } casos[] = {
        {0, 0, 0},         {0, 1000, 0},       {999, 1000, 99},          {1000, 1000, 100},
        {2000, 1000, 100}, {5 * GiB / 2, 5 * GiB, 50}, {5 * GiB - 1, 5 * GiB, 99}, {LLONG_MAX, LLONG_MAX, 100},
    };
    for (const auto& c : casos)
        EXPECT_EQ(Percentual(c.feito, c.total), c.esperado) << c.feito << "/" << c.total;
}

class LinhaDaPrevisao : public ::testing::Test {
protected:
    void SetUp() override { DefineFormatosData(QStringLiteral("dd/MM/yyyy"), QStringLiteral("HH:mm:ss")); }
    void TearDown() override { DefineFormatosData({}, {}); }
};

// Bytes become whole kilobytes (truncated) before the estimate, with 64-bit counts.
TEST_F(LinhaDaPrevisao, KilobytesInteirosDeContagensDe64Bits)
{
    const QDateTime inicio(QDate(2024, 12, 9), QTime(14, 30, 0), Qt::UTC);
    const struct {
        const char* caso;
        int segundos;
        qint64 feito;
        qint64 total;
        const char* esperado;
    } casos[] = {
        {"first second", 0, 0, 20000 * 1024 + 1023, "Previsão: Calculando - 0/20000"},
        {"fractions of a kilobyte dropped", 40, 5000 * 1024 + 1023, 20000 * 1024 + 1023,
         "Previsão: 14:32H (02:00M) - 125 KB/S - 5000/20000"},
        {"archive over 4 GiB", 1024, 2 * GiB, 8 * GiB, "Previsão: 15:38H (51:12M) - 2048 KB/S - 2097152/8388608"},
    };
    for (const auto& c : casos) {
        const QDateTime agora = inicio.addSecs(c.segundos);
        EXPECT_EQ(LinhaPrevisao(inicio, c.feito, c.total, [agora] { return agora; }), QString::fromUtf8(c.esperado))
            << c.caso;
    }
}
}
