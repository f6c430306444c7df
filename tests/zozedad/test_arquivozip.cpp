// Reading the runner's archives: what is an archive, and where its entries go.
#include "apoio/Arquivos.h"
#include "apoio/Processos.h"
#include "apoio/Texto.h"
#include "arquivos/Compacta.h"
#include "core/ArquivoZip.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// An archive written by Python's zipfile with entries named exactly as given,
// each holding its own name as bytes; the way to get names libzip's writer would
// refuse or clean.
void ZipComNomes(const QString& arquivo, const QStringList& nomes)
{
    QByteArray script = "import sys, zipfile\nz = zipfile.ZipFile(sys.argv[1], 'w')\n";
    for (const QString& n : nomes)
        script += "z.writestr(zipfile.ZipInfo(" + QByteArray("r'") + n.toUtf8() + "'), b'" + n.toUtf8().toHex() + "')\n";
    script += "z.close()\n";
    QByteArray saida;
    ASSERT_EQ(Executa(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromUtf8(script), arquivo}, &saida), 0)
        << saida.constData();
}

class ArquivoZip : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString base;
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        base = PastaTeste(dir);
    }
};

TEST_F(ArquivoZip, DecididoPeloConteudoNaoPeloNome)
{
    const QString zona = PastaTeste(dir, QStringLiteral("dados.zona"));
    const QString backup = zona + QStringLiteral("/BASE.bkp");
    ASSERT_TRUE(GravaArquivo(backup, QByteArray(4096, 'g')));
    const QString copia = base + QStringLiteral("/COPIA.bkp");
    ASSERT_TRUE(QFile::copy(backup, copia));
    Compacta(copia, base + QStringLiteral("/COPIA.bkp.zip"));
    const QString semNome = base + QStringLiteral("/arquivo_sem_extensao");
    ASSERT_TRUE(QFile::copy(base + QStringLiteral("/COPIA.bkp.zip"), semNome));
    ASSERT_TRUE(GravaArquivo(base + QStringLiteral("/falso.zip"), "not an archive"));
    ASSERT_TRUE(GravaArquivo(base + QStringLiteral("/curto.zip"), "PK"));
    ASSERT_TRUE(GravaArquivo(base + QStringLiteral("/vazio.zip"), QByteArray("PK\x05\x06", 4) + QByteArray(18, '\0')));

    const struct {
        QString arquivo;
        bool zip;
    } casos[] = {
        {backup, false},
        {base + QStringLiteral("/COPIA.bkp.zip"), true},
        {semNome, true},
        {base + QStringLiteral("/falso.zip"), false},
        {base + QStringLiteral("/curto.zip"), false},
        {base + QStringLiteral("/vazio.zip"), true},
        {base + QStringLiteral("/nao_existe.zip"), false},
    };
    for (const auto& caso : casos)
        EXPECT_EQ(EhArquivoZip(caso.arquivo), caso.zip) << caso.arquivo.toStdString();
}

TEST_F(ArquivoZip, ArquivoDoCompactaVoltaByteAByte)
{
    QByteArray conteudo;
    for (int i = 0; i < 300000; ++i)
        conteudo += char(quint64(i) * 7919 % 251);
    const QString backup = base + QStringLiteral("/BASE-01-02-2024-0930.bkp");
    ASSERT_TRUE(GravaArquivo(backup, conteudo));
    Compacta(backup, backup + QStringLiteral(".zip"));

    const QString destino = base + QStringLiteral("/Restaura");
    const Extracao e = ExtraiArquivo(backup + QStringLiteral(".zip"), destino);
    ASSERT_TRUE(e.erro.isEmpty()) << e.erro.toStdString();
    ASSERT_EQ(e.arquivos, QStringList{destino + QStringLiteral("/BASE-01-02-2024-0930.bkp")});
    EXPECT_TRUE(LeArquivo(e.arquivos.first()) == conteudo);
}

TEST_F(ArquivoZip, EntradasSoPeloNomeBaseNuncaForaDaPasta)
{
    const QString zip = base + QStringLiteral("/malicioso.zip");
    const QString alvoAbsoluto = base + QStringLiteral("/absoluto.bkp");
    ZipComNomes(zip, {QStringLiteral("../../fora.bkp"), alvoAbsoluto, QStringLiteral("sub/pasta/dentro.bkp"),
                      QStringLiteral("..\\\\janelas.bkp"), QStringLiteral("pasta/"), QStringLiteral(".."),
                      QStringLiteral("C:unidade.bkp")});

    const QString destino = base + QStringLiteral("/x/Restaura");
    const Extracao e = ExtraiArquivo(zip, destino);
    ASSERT_TRUE(e.erro.isEmpty()) << e.erro.toStdString();
    EXPECT_EQ(ConteudoPasta(destino), (QStringList{QStringLiteral("absoluto.bkp"), QStringLiteral("dentro.bkp"),
                                                   QStringLiteral("fora.bkp"), QStringLiteral("janelas.bkp"),
                                                   QStringLiteral("unidade.bkp")}));
    EXPECT_EQ(e.arquivos.size(), 5);
    EXPECT_EQ(LeArquivo(destino + QStringLiteral("/fora.bkp")), QByteArray("../../fora.bkp").toHex());
    // Nothing written above or beside the target folder.
    EXPECT_EQ(ConteudoPasta(base), (QStringList{QStringLiteral("malicioso.zip"), QStringLiteral("x")}));
    EXPECT_EQ(ConteudoPasta(base + QStringLiteral("/x")), QStringList{QStringLiteral("Restaura")});
}

TEST_F(ArquivoZip, ArquivoDanificadoDaErroClaro)
{
    const struct {
        const char* nome;
        QByteArray bytes;
    } casos[] = {
        {"texto.zip", "isto nao e um zip"},
        {"cortado.zip", QByteArray("PK\x03\x04", 4) + QByteArray(100, 'x')},
    };
    for (const auto& caso : casos) {
        const QString zip = base + QLatin1Char('/') + QLatin1String(caso.nome);
        ASSERT_TRUE(GravaArquivo(zip, caso.bytes));
        const Extracao e = ExtraiArquivo(zip, base + QStringLiteral("/Restaura"));
        EXPECT_TRUE(e.erro.startsWith(QStringLiteral("Não foi possível descompactar ") + zip)) << e.erro.toStdString();
        EXPECT_TRUE(e.arquivos.isEmpty());
    }
}

TEST_F(ArquivoZip, EntradaCorrompidaNaoDeixaArquivo)
{
    const QString backup = base + QStringLiteral("/B.bkp");
    ASSERT_TRUE(GravaArquivo(backup, QByteArray(200000, 'a') + QByteArray(200000, 'b')));
    const QString zip = backup + QStringLiteral(".zip");
    Compacta(backup, zip);
    QByteArray bytes = LeArquivo(zip);
    // Damage the compressed data in the middle: the CRC or the inflater notices.
    for (int i = 60; i < 120 && i < bytes.size(); ++i)
        bytes[i] = char(~bytes[i]);
    ASSERT_TRUE(GravaArquivo(zip, bytes));
    const QString destino = base + QStringLiteral("/Restaura");
    const Extracao e = ExtraiArquivo(zip, destino);
    EXPECT_FALSE(e.erro.isEmpty());
    EXPECT_TRUE(e.arquivos.isEmpty());
    EXPECT_FALSE(QFile::exists(destino + QStringLiteral("/B.bkp")));
}

TEST_F(ArquivoZip, LimpaPastaApagaArquivosEMantemPastas)
{
    const QString pasta = PastaTeste(dir, QStringLiteral("Restaura"));
    ASSERT_TRUE(GravaArquivo(pasta + QStringLiteral("/velho.bkp"), "x"));
    ASSERT_TRUE(GravaArquivo(pasta + QStringLiteral("/.oculto"), "x"));
    ASSERT_TRUE(QDir().mkpath(pasta + QStringLiteral("/sub")));
    ASSERT_TRUE(GravaArquivo(pasta + QStringLiteral("/sub/fica.bkp"), "x"));
    LimpaPasta(pasta);
    EXPECT_EQ(ConteudoPasta(pasta), QStringList{QStringLiteral("sub")});
    EXPECT_TRUE(QFile::exists(pasta + QStringLiteral("/sub/fica.bkp")));
    LimpaPasta(base + QStringLiteral("/nao_existe"));  // a missing folder is left alone
    EXPECT_FALSE(QFile::exists(base + QStringLiteral("/nao_existe")));
}

}  // namespace
