// The estimate line under the progress bar: exact texts for a fixed clock.
#include "plataforma/DataHora.h"
#include "transferencias/Previsao.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {
const QDate Dia(2024, 12, 9);

QDateTime Em(int h, int m, int s, int ms = 0, int dias = 0)
{
    return QDateTime(Dia.addDays(dias), QTime(h, m, s, ms), Qt::UTC);
}

// Fixes the long time format and the default locale for one test, and puts both
// back afterwards.
class ComFormatos : public ::testing::Test {
protected:
    void TearDown() override
    {
        DefineFormatosData({}, {});
        QLocale::setDefault(QLocale::system());
    }
};

struct CasoPrevisao {
    const char* caso;
    QDateTime inicio;
    QDateTime agora;
    double feito;
    double total;
    const char* esperado;
};

void PrintTo(const CasoPrevisao& c, std::ostream* os)
{
    *os << c.caso;
}

class PrevisaoTabela : public ComFormatos, public ::testing::WithParamInterface<CasoPrevisao> {};

TEST_P(PrevisaoTabela, TextoExato)
{
    DefineFormatosData(QStringLiteral("dd/MM/yyyy"), QStringLiteral("HH:mm:ss"));
    const CasoPrevisao& c = GetParam();
    const QDateTime agora = c.agora;
    EXPECT_EQ(Previsao(QStringLiteral("KB"), c.inicio, c.feito, c.total, [agora] { return agora; }),
              QString::fromUtf8(c.esperado))
        << c.caso;
}

INSTANTIATE_TEST_SUITE_P(
    Casos, PrevisaoTabela,
    ::testing::Values(
        CasoPrevisao{"worked example", Em(14, 30, 0), Em(14, 30, 40), 5000, 20000,
                     "14:32H (02:00M) - 125 KB/S - 5000/20000"},
        CasoPrevisao{"nothing sent after an hour", Em(14, 30, 0), Em(15, 30, 0), 0, 20000, "Calculando - 0/20000"},
        CasoPrevisao{"under one whole second", Em(14, 30, 0), Em(14, 30, 0, 999), 500, 20000,
                     "Calculando - 500/20000"},
        CasoPrevisao{"clock behind the start counts the same", Em(14, 30, 40), Em(14, 30, 0), 5000, 20000,
                     "14:28H (02:00M) - 125 KB/S - 5000/20000"},
        CasoPrevisao{"done equals total: finish is now", Em(14, 30, 0), Em(14, 31, 0), 6000, 6000,
                     "14:31H (00S) - 100 KB/S - 6000/6000"},
        CasoPrevisao{"done beyond total: negative remaining", Em(10, 0, 0), Em(10, 0, 10), 300, 200,
                     "10:00H (-03S) - 30 KB/S - 300/200"},
        CasoPrevisao{"rate under one unit per second", Em(10, 0, 0), Em(10, 0, 10), 5, 100,
                     "10:03H (03:10M) - 0 KB/S - 5/100"},
        CasoPrevisao{"rate and remaining truncated (128.2, 117.9)", Em(12, 0, 0), Em(12, 0, 10), 1282, 16397,
                     "12:02H (01:57M) - 128 KB/S - 1282/16397"},
        CasoPrevisao{"hours remaining", Em(8, 0, 0), Em(8, 1, 40), 1000, 400000,
                     "19:06H (11:05H) - 10 KB/S - 1000/400000"},
        CasoPrevisao{"finish past midnight shows the time only", Em(23, 59, 0), Em(23, 59, 30), 1000, 4000,
                     "00:01H (01:30M) - 33 KB/S - 1000/4000"},
        CasoPrevisao{"archives beyond 2 GiB of kilobytes", Em(0, 0, 0), Em(18, 12, 16), 2147483648.0, 4294967296.0,
                     "12:24H (18:12H) - 32768 KB/S - 2147483648/4294967296"}),
    [](const auto& info) { return std::to_string(info.index); });

TEST_F(ComFormatos, HoraDeUmDigitoMostraOsCincoPrimeirosCaracteres)
{
    DefineFormatosData(QStringLiteral("dd/MM/yyyy"), QStringLiteral("h:mm:ss"));
    const QDateTime agora = Em(9, 5, 10);
    EXPECT_EQ(Previsao(QStringLiteral("KB"), Em(9, 5, 0), 10, 10, [agora] { return agora; }),
              QStringLiteral("9:05:H (00S) - 1 KB/S - 10/10"));
}

TEST_F(ComFormatos, VirgulaDecimalSoNaFormaDeEstimativa)
{
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    DefineFormatosData(QStringLiteral("dd/MM/yyyy"), QStringLiteral("HH:mm:ss"));
    const QDateTime cedo = Em(10, 0, 0, 500);
    const QDateTime depois = Em(10, 0, 1);
    EXPECT_EQ(Previsao(QStringLiteral("KB"), Em(10, 0, 0), 2.5, 10, [cedo] { return cedo; }),
              QStringLiteral("Calculando - 2.5/10"));
    EXPECT_EQ(Previsao(QStringLiteral("KB"), Em(10, 0, 0), 2.5, 10, [depois] { return depois; }),
              QStringLiteral("10:00H (03S) - 2 KB/S - 2,5/10"));
    EXPECT_EQ(NumeroGeral(1234567.25), QStringLiteral("1234567,25"));  // no thousands separator
}

TEST_F(ComFormatos, NumeroPontoEscreveNumerosGerais)
{
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    const struct {
        double valor;
        const char* texto;
    } casos[] = {
        {0, "0"},
        {20000, "20000"},
        {2.5, "2.5"},
        {-2.5, "-2.5"},
        {0.1 + 0.2, "0.3"},  // 15 significant digits hide the binary error
        {4294967296.0, "4294967296"},
        {999999999999999.0, "999999999999999"},
        {1e15, "1E15"},
        {0.00001234, "1.234E-5"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(NumeroPonto(c.valor), QString::fromLatin1(c.texto)) << c.valor;
}

// The clock is read twice: rate from whole seconds, finish from the exact time.
TEST_F(ComFormatos, RelogioLidoDuasVezes)
{
    DefineFormatosData(QStringLiteral("dd/MM/yyyy"), QStringLiteral("HH:mm:ss"));
    QList<QDateTime> leituras{Em(10, 0, 1, 900), Em(10, 0, 30)};
    const QString texto = Previsao(QStringLiteral("KB"), Em(10, 0, 0), 100, 200, [&leituras] {
        return leituras.takeFirst();
    });
    // Rate 100/1 s from the first reading; finish 30 s x 2 from the second.
    EXPECT_EQ(texto, QStringLiteral("10:01H (01S) - 100 KB/S - 100/200"));
    EXPECT_TRUE(leituras.isEmpty());
}
}
