// Small routines of the backup procedure: duration texts, quoting, command-line
// splitting and the hidden start, folder roles.
#include "apoio/Arquivos.h"
#include "apoio/Instalacao.h"
#include "apoio/Texto.h"
#include "plataforma/Caminhos.h"
#include "gbak/ExecutaOculto.h"
#include "procedimento/PapeisPastas.h"
#include "plataforma/Plataforma.h"
#include "plataforma/Tempo.h"

#include <QDir>
#include <gtest/gtest.h>

TEST(FormataTempo, EscolheHorasMinutosOuSegundos)
{
    const struct {
        int segundos;
        const char* texto;
    } casos[] = {
        {0, "00S"},          {7, "07S"},           {59, "59S"},         {60, "01:00M"},
        {125, "02:05M"},     {3599, "59:59M"},     {3600, "01:00H"},    {3725, "01:02H"},
        {36000, "10:00H"},   // 100 hours and more keep only the first two digits of the hour count
        {123 * 3600 + 5 * 60, "12:05H"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(FormataTempo(c.segundos), QString::fromUtf8(c.texto)) << c.segundos;
}

TEST(FormataTempo, NegativoAparecePrecedidoDeSinal)
{
    EXPECT_EQ(FormataTempo(-125), QStringLiteral("-02:05M"));
    EXPECT_TRUE(FormataTempo(INT_MIN).startsWith(QLatin1Char('-')));
}

TEST(Zeros, CompletaOuCorta)
{
    const struct {
        const char* texto;
        int largura;
        const char* esperado;
    } casos[] = {
        {"5", 2, "05"},   {"12", 2, "12"},   {"123", 2, "12"},   {" 7 ", 3, "007"},
        {"-5", 3, "-05"}, {"-123", 2, "-1"}, {"-12", 3, "-12"},  {"abc", 2, "ab"},
        {"x", 3, "00x"},  {"", 2, "00"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(Zeros(QString::fromUtf8(c.texto), c.largura), QString::fromUtf8(c.esperado))
            << c.texto << " / " << c.largura;
}

TEST(Aspas, SoQuandoHaBrancoESemAspas)
{
    EXPECT_EQ(Aspas(QStringLiteral("/srv/backup/BASE.bkp")), QStringLiteral("/srv/backup/BASE.bkp"));
    EXPECT_EQ(Aspas(QStringLiteral("/srv/meus backups/BASE.bkp")), QStringLiteral("\"/srv/meus backups/BASE.bkp\""));
    EXPECT_EQ(Aspas(QStringLiteral("/srv/\"x y\"/BASE.bkp")), QStringLiteral("/srv/\"x y\"/BASE.bkp"));
}

TEST(VerificaPasta, ExisteCriaUmNivelOuRecusa)
{
    QTemporaryDir dir;
    EXPECT_FALSE(VerificaPasta(QString()));
    EXPECT_TRUE(VerificaPasta(dir.path()));
    EXPECT_TRUE(VerificaPasta(dir.path() + QStringLiteral("/nova/")));
    EXPECT_TRUE(QFileInfo(dir.path() + QStringLiteral("/nova")).isDir());
    EXPECT_FALSE(VerificaPasta(dir.path() + QStringLiteral("/a/b/")));  // parent missing
    GravaArquivo(dir.path() + QStringLiteral("/arquivo"), "x");
    EXPECT_FALSE(VerificaPasta(dir.path() + QStringLiteral("/arquivo")));
}

TEST(DivideLinhaComando, RegrasDoWindows)
{
    const struct {
        const char* linha;
        QStringList argumentos;
    } casos[] = {
        {"gbak -v  -y x.log", {"gbak", "-v", "-y", "x.log"}},
        {"gbak \"/meus backups/a b.bkp\" c", {"gbak", "/meus backups/a b.bkp", "c"}},
        {"a \"\" b", {"a", "", "b"}},
        {"a b\\c\\\\d", {"a", "b\\c\\\\d"}},           // backslashes not before a quote are literal
        {"a \\\"x\\\"", {"a", "\"x\""}},                 // \" is a literal quote
        {"a \"x\\\\\" y", {"a", "x\\", "y"}},            // \\" : one backslash, quote closes
        {"a x\"y z\"w", {"a", "xy zw"}},
        {"a \"say \"\"hi\"\"\"", {"a", "say \"hi\""}},
        {"  ", {}},
    };
    for (const auto& c : casos)
        EXPECT_EQ(DivideLinhaComando(QString::fromUtf8(c.linha)), c.argumentos) << c.linha;
}

// A command line built from settings must reach the program as plain text: no
// shell ever sees it.
TEST(ExecutaOculto, CaracteresDeShellChegamComoTexto)
{
    QTemporaryDir dir;
    const QString registro = dir.path() + QStringLiteral("/args.txt");
    const QString perigoso = dir.path() + QStringLiteral("/pasta; touch PWNED $(touch PWNED2) `touch PWNED3` && x.bkp");
    const QString linha = QStringLiteral("%1/gbak -y \"%2\"").arg(PastaGbakFalso(), perigoso);
    qputenv("GBAK_FALSO_ARGS", registro.toLocal8Bit());
    qputenv("GBAK_FALSO", "sem_log,sem_backup");
    const QString anterior = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const bool iniciou = ExecutaOculto(linha);
    QDir::setCurrent(anterior);
    qunsetenv("GBAK_FALSO_ARGS");
    qunsetenv("GBAK_FALSO");
    EXPECT_TRUE(iniciou);
    EXPECT_EQ(QString::fromUtf8(LeArquivo(registro)),
              QStringLiteral("ISC_USER=\nISC_PASSWORD=\n-y\n") + perigoso + QStringLiteral("\n\n"));
    EXPECT_EQ(ConteudoPasta(dir.path()), QStringList{QStringLiteral("args.txt")});
}

TEST(ExecutaOculto, ProgramaInexistenteNaoInicia)
{
    EXPECT_FALSE(ExecutaOculto(QStringLiteral("programa-que-nao-existe-xyz -v")));
    EXPECT_FALSE(ExecutaOculto(QString()));
}

TEST(LocalizaPrograma, PastaAtualAntesDoPath)
{
    QTemporaryDir dir;
    const QString local = dir.path() + QStringLiteral("/gbak");
    ASSERT_TRUE(QFile::copy(PastaGbakFalso() + QStringLiteral("/gbak"), local));
    const QString anterior = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const QString achado = LocalizaPrograma(QStringLiteral("gbak"));
    QDir::setCurrent(anterior);
    EXPECT_EQ(achado, local);
    EXPECT_TRUE(LocalizaPrograma(QStringLiteral("programa-que-nao-existe-xyz")).isEmpty());
}

TEST(DefinePapeis, QuatroCasosEOsDemais)
{
    const QString P = QStringLiteral("/prog/"), D = QStringLiteral("/dest/"), L = QStringLiteral("/srv/bk/"),
                  R = QStringLiteral("/mnt/bk/");
    const struct {
        const char* nome;
        QString d, l, r;
        PapeisPastas esperado;
    } casos[] = {
        {"A", D, {}, {}, {D, D, D, D, false, false}},
        {"B", {}, L, {}, {P, P, P, L, false, true}},
        {"C sem destino", {}, L, R, {L, R, R, R, false, false}},
        {"C destino igual a rede", R, L, R, {L, R, R, R, false, false}},
        {"D", D, L, R, {L, R, D, D, true, false}},
        {"D: comparação sensível a maiúsculas", QStringLiteral("/MNT/bk/"), L, R,
         {L, R, QStringLiteral("/MNT/bk/"), QStringLiteral("/MNT/bk/"), true, false}},
        {"só rede", {}, {}, R, {}},
        {"destino e rede sem log", D, {}, R, {}},
        {"nada", {}, {}, {}, {}},
    };
    for (const auto& c : casos) {
        const PapeisPastas p = DefinePapeis(c.d, c.l, c.r, P);
        EXPECT_EQ(p.pastaGbak, c.esperado.pastaGbak) << c.nome;
        EXPECT_EQ(p.pastaObservada, c.esperado.pastaObservada) << c.nome;
        EXPECT_EQ(p.pastaArquivo, c.esperado.pastaArquivo) << c.nome;
        EXPECT_EQ(p.pastaDestino, c.esperado.pastaDestino) << c.nome;
        EXPECT_EQ(p.moveAntes, c.esperado.moveAntes) << c.nome;
        EXPECT_EQ(p.moveDepois, c.esperado.moveDepois) << c.nome;
    }
}
