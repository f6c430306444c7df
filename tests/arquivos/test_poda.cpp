#include "apoio/Arquivos.h"
#include "apoio/Texto.h"
#include "arquivos/Poda.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <ostream>

namespace {

// A file of a few bytes whose modification time is `quando` (local time).
void CriaArquivo(const QString& caminho, const QDateTime& quando)
{
    ASSERT_TRUE(GravaArquivo(caminho, "x"));
    QFile f(caminho);
    ASSERT_TRUE(f.open(QIODevice::Append));
    ASSERT_TRUE(f.setFileTime(quando, QFileDevice::FileModificationTime));
}

QDateTime Em(int dia, int hora = 12, int minuto = 0)
{
    return QDateTime(QDate(2023, 12, dia), QTime(hora, minuto));
}

} // namespace

// Five archives of one database, one per day; the table says which survive.
struct CasoCopias {
    const char* descricao;
    int copias;
    int presentes;  // archives of days 1..presentes
    QStringList restantes;
};
void PrintTo(const CasoCopias& caso, std::ostream* os) { *os << caso.descricao; }

class PodaCopias : public ::testing::TestWithParam<CasoCopias> {};

TEST_P(PodaCopias, GuardaOsMaisNovosSegundoONumeroDeCopias)
{
    const CasoCopias& caso = GetParam();
    QTemporaryDir dir;
    const QString pasta = PastaTeste(dir, QStringLiteral("backups"));
    for (int dia = 1; dia <= caso.presentes; ++dia)
        CriaArquivo(pasta + QStringLiteral("/BASE-%1-12-2023-0930.zip").arg(dia, 2, 10, QLatin1Char('0')), Em(dia, 9, 30));

    ApagaAntigos(pasta, QStringLiteral("*.zip"), caso.copias);

    EXPECT_EQ(ConteudoPasta(pasta), caso.restantes);
}

namespace {
QStringList Dias(std::initializer_list<int> dias)
{
    QStringList nomes;
    for (int dia : dias)
        nomes << QStringLiteral("BASE-%1-12-2023-0930.zip").arg(dia, 2, 10, QLatin1Char('0'));
    return nomes;
}
} // namespace

INSTANTIATE_TEST_SUITE_P(
    Tabela, PodaCopias,
    ::testing::Values(CasoCopias{"zero_copias_nada_apaga", 0, 3, Dias({1, 2, 3})},
                      CasoCopias{"copias_negativas_nada_apagam", -2, 3, Dias({1, 2, 3})},
                      CasoCopias{"uma_copia_com_dois_apaga_todos", 1, 2, {}},
                      CasoCopias{"uma_copia_com_cinco_apaga_todos", 1, 5, {}},
                      CasoCopias{"tres_copias_com_dois_nada_apaga", 3, 2, Dias({1, 2})},
                      CasoCopias{"tres_copias_com_tres_guarda_dois", 3, 3, Dias({2, 3})},
                      CasoCopias{"tres_copias_com_cinco_guarda_dois", 3, 5, Dias({4, 5})},
                      CasoCopias{"cinco_copias_com_cinco_guarda_quatro", 5, 5, Dias({2, 3, 4, 5})},
                      CasoCopias{"seis_copias_com_cinco_nada_apaga", 6, 5, Dias({1, 2, 3, 4, 5})}),
    [](const ::testing::TestParamInfo<CasoCopias>& info) { return std::string(info.param.descricao); });

// Which archive counts as newer: the day of modification first, then (within a
// day) the name, whatever the time of day says.
struct CasoOrdem {
    const char* descricao;
    QList<QPair<QString, QDateTime>> arquivos;
    int copias;
    QString exceto;
    QStringList restantes;
};
void PrintTo(const CasoOrdem& caso, std::ostream* os) { *os << caso.descricao; }

class PodaOrdem : public ::testing::TestWithParam<CasoOrdem> {};

TEST_P(PodaOrdem, DecideQualEhMaisNovo)
{
    const CasoOrdem& caso = GetParam();
    QTemporaryDir dir;
    const QString pasta = PastaTeste(dir, QStringLiteral("backups"));
    for (const auto& [nome, quando] : caso.arquivos)
        CriaArquivo(pasta + QLatin1Char('/') + nome, quando);

    ApagaAntigos(pasta, QStringLiteral("*.zip"), caso.copias, caso.exceto);

    EXPECT_EQ(ConteudoPasta(pasta), caso.restantes);
}

INSTANTIATE_TEST_SUITE_P(
    Tabela, PodaOrdem,
    ::testing::Values(
        // 0930 was touched later that day (copied back, say); the name still says
        // 1015 is the later backup.
        CasoOrdem{"mesmo_dia_decide_pelo_nome",
                  {{QStringLiteral("BASE-25-12-2023-0930.zip"), Em(25, 18, 0)},
                   {QStringLiteral("BASE-25-12-2023-1015.zip"), Em(25, 10, 15)},
                   {QStringLiteral("BASE-24-12-2023-2330.zip"), Em(24, 23, 30)}},
                  2,
                  {},
                  {QStringLiteral("BASE-25-12-2023-1015.zip")}},
        CasoOrdem{"dia_vale_mais_que_o_nome",
                  {{QStringLiteral("A-novo.zip"), Em(26)}, {QStringLiteral("Z-velho.zip"), Em(20)}},
                  2,
                  {},
                  {QStringLiteral("A-novo.zip")}},
        CasoOrdem{"extensao_maiuscula_conta",
                  {{QStringLiteral("BASE-01.ZIP"), Em(1)},
                   {QStringLiteral("BASE-02.zip"), Em(2)},
                   {QStringLiteral("BASE-03.Zip"), Em(3)}},
                  3,
                  {},
                  {QStringLiteral("BASE-02.zip"), QStringLiteral("BASE-03.Zip")}},
        // The archive a run just made is kept and does not use up a copy.
        CasoOrdem{"exceto_nao_conta",
                  {{QStringLiteral("BASE-4.zip"), Em(4)},
                   {QStringLiteral("BASE-3.zip"), Em(3)},
                   {QStringLiteral("BASE-2.zip"), Em(2)},
                   {QStringLiteral("BASE-1.zip"), Em(1)}},
                  3,
                  QStringLiteral("BASE-4.zip"),
                  {QStringLiteral("BASE-2.zip"), QStringLiteral("BASE-3.zip"), QStringLiteral("BASE-4.zip")}},
        // Clock set back: the new archive looks like the oldest one.
        CasoOrdem{"exceto_mais_antigo_fica",
                  {{QStringLiteral("BASE-novo.zip"), Em(1)},
                   {QStringLiteral("BASE-b.zip"), Em(5)},
                   {QStringLiteral("BASE-a.zip"), Em(4)}},
                  1,
                  QStringLiteral("BASE-novo.zip"),
                  {QStringLiteral("BASE-novo.zip")}},
        // A file name, so compared as the file system does here: another case is
        // another file.
        CasoOrdem{"exceto_compara_maiusculas",
                  {{QStringLiteral("BASE.zip"), Em(5)}, {QStringLiteral("base.zip"), Em(4)}},
                  1,
                  QStringLiteral("BASE.zip"),
                  {QStringLiteral("BASE.zip")}}),
    [](const ::testing::TestParamInfo<CasoOrdem>& info) { return std::string(info.param.descricao); });

TEST(Poda, IgnoraOcultosPastasLinksEOutrasExtensoes)
{
    QTemporaryDir dir;
    const QString pasta = PastaTeste(dir, QStringLiteral("backups"));
    CriaArquivo(pasta + QStringLiteral("/.oculto.zip"), Em(1));
    CriaArquivo(pasta + QStringLiteral("/BASE.bkp"), Em(1));
    CriaArquivo(pasta + QStringLiteral("/leiame.zip.txt"), Em(1));
    ASSERT_TRUE(QDir().mkpath(pasta + QStringLiteral("/pasta.zip")));
    CriaArquivo(pasta + QStringLiteral("/pasta.zip/dentro.zip"), Em(1));
    ASSERT_TRUE(QFile::link(pasta + QStringLiteral("/pasta.zip"), pasta + QStringLiteral("/atalho.zip")));
    CriaArquivo(pasta + QStringLiteral("/velho.zip"), Em(2));

    EXPECT_EQ(ListaArquivos(pasta + QStringLiteral("/*.zip"), QStringLiteral("NOMEC")),
              QStringList{QStringLiteral("velho.zip")});

    ApagaAntigos(pasta, QStringLiteral("*.zip"), 1);

    EXPECT_EQ(ConteudoPasta(pasta), (QStringList{QStringLiteral(".oculto.zip"), QStringLiteral("BASE.bkp"),
                                             QStringLiteral("atalho.zip"), QStringLiteral("leiame.zip.txt"),
                                             QStringLiteral("pasta.zip")}));
    EXPECT_EQ(ConteudoPasta(pasta + QStringLiteral("/pasta.zip")), QStringList{QStringLiteral("dentro.zip")});
}

TEST(Poda, PastaInexistenteNaoFazNada)
{
    QTemporaryDir dir;
    const QString pasta = dir.path() + QStringLiteral("/nao-existe");
    EXPECT_TRUE(ListaArquivos(pasta + QStringLiteral("/*.zip"), QStringLiteral("DATAD")).isEmpty());
    ApagaAntigos(pasta, QStringLiteral("*.zip"), 1);
    EXPECT_FALSE(QFileInfo::exists(pasta));
}

// The folder of a configuration often ends with a separator, so the mask comes
// out as "dir//*.zip".
TEST(Poda, SeparadorDobradoNaPasta)
{
    QTemporaryDir dir;
    const QString pasta = PastaTeste(dir, QStringLiteral("backups"));
    CriaArquivo(pasta + QStringLiteral("/a.zip"), Em(1));
    CriaArquivo(pasta + QStringLiteral("/b.zip"), Em(2));

    EXPECT_EQ(ListaArquivos(pasta + QStringLiteral("//*.zip"), QStringLiteral("NOMEC")),
              (QStringList{QStringLiteral("a.zip"), QStringLiteral("b.zip")}));

    ApagaAntigos(pasta + QLatin1Char('/'), QStringLiteral("*.zip"), 2);
    EXPECT_EQ(ConteudoPasta(pasta), QStringList{QStringLiteral("b.zip")});
}

// Names chosen so that a case-sensitive sort ("B" < "a") or one by name instead
// of day would give another order.
struct CasoModo {
    const char* descricao;
    QString modo;
    QStringList esperado;
};
void PrintTo(const CasoModo& caso, std::ostream* os) { *os << caso.descricao; }

class ListaModos : public ::testing::TestWithParam<CasoModo> {};

TEST_P(ListaModos, OrdenaEFormataConformeOModo)
{
    QTemporaryDir dir;
    const QString pasta = PastaTeste(dir, QStringLiteral("backups"));
    CriaArquivo(pasta + QStringLiteral("/a.zip"), Em(2));
    CriaArquivo(pasta + QStringLiteral("/B.zip"), Em(3));
    CriaArquivo(pasta + QStringLiteral("/c.ZIP"), Em(1, 23, 59));
    CriaArquivo(pasta + QStringLiteral("/d.txt"), Em(4));

    EXPECT_EQ(ListaArquivos(pasta + QStringLiteral("/*.zip"), GetParam().modo), GetParam().esperado);
}

INSTANTIATE_TEST_SUITE_P(
    Tabela, ListaModos,
    ::testing::Values(
        CasoModo{"NOMEC", QStringLiteral("NOMEC"), {QStringLiteral("a.zip"), QStringLiteral("B.zip"), QStringLiteral("c.ZIP")}},
        CasoModo{"NOMED", QStringLiteral("NOMED"), {QStringLiteral("c.ZIP"), QStringLiteral("B.zip"), QStringLiteral("a.zip")}},
        CasoModo{"NOME_sem_quinta_letra_decrescente", QStringLiteral("NOME"),
                 {QStringLiteral("c.ZIP"), QStringLiteral("B.zip"), QStringLiteral("a.zip")}},
        CasoModo{"DATAC", QStringLiteral("DATAC"), {QStringLiteral("c.ZIP"), QStringLiteral("a.zip"), QStringLiteral("B.zip")}},
        CasoModo{"DATAD", QStringLiteral("DATAD"), {QStringLiteral("B.zip"), QStringLiteral("a.zip"), QStringLiteral("c.ZIP")}},
        CasoModo{"com_data_sem_cortar", QStringLiteral("XXXXC"),
                 {QStringLiteral("20231201=c.ZIP"), QStringLiteral("20231202=a.zip"), QStringLiteral("20231203=B.zip")}}),
    [](const ::testing::TestParamInfo<CasoModo>& info) { return std::string(info.param.descricao); });

// The day in the entries is the local one: 23:30 at UTC-3 is already the next day
// in UTC, which is where a conversion to UTC would put it.
TEST(Poda, DiaDaDataEhOLocal)
{
    const QByteArray tzAnterior = qgetenv("TZ");
    const bool tinhaTz = qEnvironmentVariableIsSet("TZ");
    qputenv("TZ", "<-03>3");
    tzset();
    struct Restaura {
        QByteArray valor;
        bool tinha;
        ~Restaura()
        {
            if (tinha)
                qputenv("TZ", valor);
            else
                qunsetenv("TZ");
            tzset();
        }
    } restaura{tzAnterior, tinhaTz};

    QTemporaryDir dir;
    const QString pasta = PastaTeste(dir, QStringLiteral("backups"));
    const QDateTime quando(QDate(2023, 12, 25), QTime(23, 30), Qt::OffsetFromUTC, -3 * 3600);
    CriaArquivo(pasta + QStringLiteral("/BASE.zip"), quando);

    EXPECT_EQ(ListaArquivos(pasta + QStringLiteral("/*.zip"), QStringLiteral("XXXXD")),
              QStringList{QStringLiteral("20231225=BASE.zip")});
}
