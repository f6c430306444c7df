#include "apoio/Arquivos.h"
#include "apoio/Dados.h"
#include "apoio/Firebird.h"
#include "apoio/Processos.h"
#include "apoio/Texto.h"
#include "apoio/Zip.h"
#include "arquivos/Compacta.h"
#include "plataforma/Erro.h"
#include "arquivos/PedacoDeflate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <zip.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <ostream>

namespace {

// LeZip holds the whole entry in memory; for an entry of several GiB Python
// streams it instead. Per entry: name, declared size, method, how many bytes it
// really inflates to (reading to the end also makes zipfile check the CRC), and
// the uncompressed size recorded in the local header's ZIP64 field, if any.
const char* const kLeitorPython = R"PY(
import json, struct, sys, zipfile
caminho = sys.argv[1]
saida = []
with zipfile.ZipFile(caminho) as z, open(caminho, "rb") as bruto:
    for i in z.infolist():
        lidos = 0
        with z.open(i) as f:
            while True:
                bloco = f.read(1 << 24)
                if not bloco:
                    break
                lidos += len(bloco)
        bruto.seek(i.header_offset)
        cabecalho = struct.unpack("<IHHHHHIIIHH", bruto.read(30))
        bruto.seek(cabecalho[9], 1)
        extra = bruto.read(cabecalho[10])
        local64 = None
        while len(extra) >= 4:
            ident, tam = struct.unpack("<HH", extra[:4])
            if ident == 1 and tam >= 8:
                local64 = struct.unpack("<Q", extra[4:12])[0]
            extra = extra[4 + tam:]
        saida.append({"nome": i.filename, "tamanho": i.file_size, "metodo": i.compress_type,
                      "lidos": lidos, "local64": local64})
print(json.dumps(saida))
)PY";

struct Entrada {
    QString nome;
    qint64 tamanho = -1;
    int metodo = -1;
    qint64 lidos = -1;
    qint64 local64 = -1;  // -1: the local header has no ZIP64 field
};

// Entries as Python sees them; fails the test when Python cannot read the archive.
QList<Entrada> LeGrandeComPython(const QString& zip)
{
    QByteArray saida;
    const int codigo = Executa(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromUtf8(kLeitorPython), zip}, &saida);
    EXPECT_EQ(codigo, 0) << saida.toStdString();
    QList<Entrada> entradas;
    for (const QJsonValue v : QJsonDocument::fromJson(saida).array()) {
        const QJsonObject o = v.toObject();
        entradas.append({o[QStringLiteral("nome")].toString(), o[QStringLiteral("tamanho")].toInteger(),
                         o[QStringLiteral("metodo")].toInt(), o[QStringLiteral("lidos")].toInteger(),
                         o[QStringLiteral("local64")].isNull() ? -1 : o[QStringLiteral("local64")].toInteger()});
    }
    return entradas;
}

QByteArray Aleatorio(qsizetype tamanho, quint32 semente)
{
    QByteArray bytes(tamanho, Qt::Uninitialized);
    QRandomGenerator gerador(semente);
    gerador.fillRange(reinterpret_cast<quint32*>(bytes.data()), tamanho / 4);
    return bytes;
}

// Text shaped like a dump: compresses well but not trivially.
QByteArray Registros(int linhas)
{
    QByteArray bytes;
    QRandomGenerator gerador(42);
    for (int i = 0; i < linhas; ++i)
        bytes += QStringLiteral("%1|CLIENTE %2|%3.%4|2023-12-%5\n")
                     .arg(i, 8, 10, QLatin1Char('0'))
                     .arg(gerador.bounded(5000))
                     .arg(gerador.bounded(100000))
                     .arg(gerador.bounded(100), 2, 10, QLatin1Char('0'))
                     .arg(gerador.bounded(1, 29))
                     .toUtf8();
    return bytes;
}

// The first entry's bytes as libzip, a third reader, inflates them; libzip checks
// the CRC-32 when the entry is read to its end. Null when it refuses the archive.
QByteArray LeComLibzip(const QString& arquivo)
{
    int codigo = 0;
    zip_t* za = zip_open(QFile::encodeName(arquivo).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &codigo);
    if (!za)
        return {};
    QByteArray conteudo("");
    zip_file_t* entrada = zip_fopen_index(za, 0, 0);
    char bloco[1 << 16];
    zip_int64_t n = entrada ? 0 : -1;
    while (entrada && (n = zip_fread(entrada, bloco, sizeof bloco)) > 0)
        conteudo.append(bloco, static_cast<qsizetype>(n));
    if (entrada)
        zip_fclose(entrada);
    zip_discard(za);
    return n < 0 ? QByteArray() : conteudo;
}

// Bytes that repeat with a period that does not divide the piece size, so matches
// reach back across every piece boundary into the previous piece.
QByteArray Repetitivo(qsizetype tamanho)
{
    const QByteArray padrao = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-abcdefghij\n";
    QByteArray bytes;
    bytes.reserve(tamanho + padrao.size());
    while (bytes.size() < tamanho)
        bytes += padrao;
    bytes.truncate(tamanho);
    return bytes;
}

QString TextoSo(int codigo) { return QString::fromLocal8Bit(std::strerror(codigo)); }

} // namespace

struct CasoValido {
    const char* descricao;
    QString nome;
    QByteArray conteudo;
};
void PrintTo(const CasoValido& caso, std::ostream* os) { *os << caso.descricao; }

class CompactaValido : public ::testing::TestWithParam<CasoValido> {};

TEST_P(CompactaValido, ArquivoLegivelPorOutrosComUmaEntradaIgualAoOriginal)
{
    const CasoValido& caso = GetParam();
    QTemporaryDir dir;
    const QString pasta = PastaTeste(dir, QStringLiteral("saida"));
    const QString origem = dir.path() + QLatin1Char('/') + caso.nome;
    const QString zip = pasta + QLatin1Char('/') + caso.nome + QStringLiteral(".zip");
    ASSERT_TRUE(GravaArquivo(origem, caso.conteudo));

    ASSERT_NO_THROW(Compacta(origem, zip));

    EXPECT_FALSE(QFileInfo::exists(origem)) << "a origem deve ser apagada após o sucesso";
    EXPECT_EQ(ConteudoPasta(pasta), QStringList{QFileInfo(zip).fileName()}) << "sobrou arquivo temporário";

    const ConteudoZip lido = LeZip(zip);
    EXPECT_TRUE(lido.integro) << "unzip -t recusou o arquivo";
    EXPECT_EQ(lido.nomes, QStringList{caso.nome});
    EXPECT_TRUE(lido.primeiro == caso.conteudo) << "bytes da entrada diferem do original";
    const QByteArray libzip = LeComLibzip(zip);
    EXPECT_FALSE(libzip.isNull()) << "libzip recusou o arquivo";
    EXPECT_TRUE(libzip == caso.conteudo) << "libzip leu bytes diferentes do original";
    if (!caso.conteudo.isEmpty()) {
        EXPECT_EQ(lido.metodo, QStringLiteral("deflated"));
    }

    // Other programs (copies to another machine, the restore test) read the
    // archive; it must get the same permissions as any file created here.
    const QString referencia = pasta + QStringLiteral("/referencia");
    ASSERT_TRUE(GravaArquivo(referencia, "x"));
    EXPECT_EQ(QFile::permissions(zip), QFile::permissions(referencia));
}

INSTANTIATE_TEST_SUITE_P(
    Casos, CompactaValido,
    ::testing::Values(CasoValido{"registros", QStringLiteral("BASE.FDB.bkp"), Registros(20000)},
                      CasoValido{"binario", QStringLiteral("dados.bkp"), Aleatorio(300000, 7) + Registros(500)},
                      CasoValido{"nome_acentuado", QStringLiteral("Cópia de Ação 2023.bkp"), Registros(50)},
                      CasoValido{"vazio", QStringLiteral("vazio.bkp"), QByteArray()},
                      // Where the stream is split into pieces and joined again.
                      CasoValido{"um_byte", QStringLiteral("um.bkp"), QByteArray("x")},
                      CasoValido{"um_pedaco_exato", QStringLiteral("exato.bkp"), Registros(40000).left(kTamanhoPedaco)},
                      CasoValido{"um_pedaco_mais_um_byte", QStringLiteral("mais_um.bkp"),
                                 Registros(40000).left(kTamanhoPedaco) + "Z"},
                      CasoValido{"incompressivel", QStringLiteral("aleatorio.bkp"), Aleatorio(3 * kTamanhoPedaco + 12345, 5)},
                      CasoValido{"repetitivo", QStringLiteral("repetido.bkp"), Repetitivo(5 * kTamanhoPedaco + 7)},
                      CasoValido{"identificadores", QStringLiteral("uuid.bkp"),
                                 RegistrosComIdentificadores(3 * kTamanhoPedaco + 99, 8)},
                      CasoValido{"misto", QStringLiteral("misto.bkp"),
                                 Registros(30000) + Aleatorio(kTamanhoPedaco / 2, 9) + Repetitivo(kTamanhoPedaco)
                                     + RegistrosComIdentificadores(kTamanhoPedaco, 2) + Registros(30000)}),
    [](const ::testing::TestParamInfo<CasoValido>& info) { return std::string(info.param.descricao); });

// A real gbak backup of several pieces: each reader inflates exactly gbak's bytes.
TEST(Compacta, BackupRealDoGbakIntegro)
{
    QTemporaryDir dir;
    const QString pasta = PastaTeste(dir, QStringLiteral("banco"));
    const QString banco = pasta + QStringLiteral("/REAL.FDB");
    ASSERT_NO_FATAL_FAILURE(CriaBanco(banco, 150000));
    const QString backup = pasta + QStringLiteral("/REAL.bkp");
    QByteArray saida;
    ASSERT_EQ(Executa(QStringLiteral("gbak"),
                      {QStringLiteral("-b"), QStringLiteral("-user"), QStringLiteral("sysdba"), QStringLiteral("-password"),
                       QStringLiteral("bluefjord"), QStringLiteral("localhost:") + banco, backup},
                      &saida),
              0)
        << saida.constData();
    const QByteArray original = LeArquivo(backup);
    ASSERT_GT(original.size(), 2 * kTamanhoPedaco) << "o backup deve ocupar vários pedaços";
    const QString zip = PastaTeste(dir, QStringLiteral("saida")) + QStringLiteral("/REAL.bkp.zip");

    ASSERT_NO_THROW(Compacta(backup, zip));

    const ConteudoZip lido = LeZip(zip);
    EXPECT_TRUE(lido.integro) << "unzip -t recusou o arquivo";
    EXPECT_EQ(lido.metodo, QStringLiteral("deflated"));
    EXPECT_TRUE(lido.primeiro == original) << "Python leu bytes diferentes do backup";
    EXPECT_TRUE(LeComLibzip(zip) == original) << "libzip leu bytes diferentes do backup";
}

struct CasoSubstitui {
    const char* descricao;
    std::function<void(const QString& pasta, const QString& zip)> anterior;
};
void PrintTo(const CasoSubstitui& caso, std::ostream* os) { *os << caso.descricao; }

class CompactaSubstitui : public ::testing::TestWithParam<CasoSubstitui> {};

TEST_P(CompactaSubstitui, ArquivoExistenteDeMesmoNomeEhTrocado)
{
    QTemporaryDir dir;
    const QString pasta = PastaTeste(dir, QStringLiteral("saida"));
    const QString origem = dir.path() + QStringLiteral("/BASE.bkp");
    const QString zip = pasta + QStringLiteral("/BASE.bkp.zip");
    GetParam().anterior(dir.path(), zip);
    ASSERT_TRUE(QFileInfo::exists(zip));
    const QByteArray conteudo = Registros(1000);
    ASSERT_TRUE(GravaArquivo(origem, conteudo));

    ASSERT_NO_THROW(Compacta(origem, zip));

    const ConteudoZip lido = LeZip(zip);
    EXPECT_TRUE(lido.integro);
    EXPECT_EQ(lido.nomes, QStringList{QStringLiteral("BASE.bkp")}) << "o arquivo anterior deve ser substituído, não ampliado";
    EXPECT_TRUE(lido.primeiro == conteudo);
    EXPECT_EQ(ConteudoPasta(pasta), QStringList{QStringLiteral("BASE.bkp.zip")});
}

INSTANTIATE_TEST_SUITE_P(
    Casos, CompactaSubstitui,
    ::testing::Values(CasoSubstitui{"zip_com_outra_entrada",
                                    [](const QString& pasta, const QString& zip) {
                                        const QString outro = pasta + QStringLiteral("/OUTRA.bkp");
                                        ASSERT_TRUE(GravaArquivo(outro, "conteúdo anterior"));
                                        Compacta(outro, zip);
                                    }},
                      CasoSubstitui{"arquivo_que_nao_e_zip",
                                    [](const QString&, const QString& zip) {
                                        ASSERT_TRUE(GravaArquivo(zip, "isto não é um arquivo zip"));
                                    }}),
    [](const ::testing::TestParamInfo<CasoSubstitui>& info) { return std::string(info.param.descricao); });

namespace {

// After a failed Compacta: Erro naming both files and the reason, the
// destination folder exactly as before, and the source untouched.
void VerificaFalha(const QString& origem, const QByteArray& conteudo, const QString& zip, const QString& motivo,
                   const QStringList& antes)
{
    try {
        Compacta(origem, zip);
        ADD_FAILURE() << "Compacta deveria falhar";
    } catch (const Erro& e) {
        EXPECT_TRUE(e.texto().startsWith(QStringLiteral("Falha ao compactar %1 em %2: ").arg(origem, zip)))
            << e.what();
        EXPECT_TRUE(e.texto().contains(motivo)) << e.what() << " | esperado: " << motivo.toStdString();
    }
    const QString pasta = QFileInfo(zip).absolutePath();
    EXPECT_EQ(ConteudoPasta(pasta), antes) << "sobrou arquivo parcial ou temporário";
    if (!conteudo.isNull()) {
        EXPECT_TRUE(QFileInfo::exists(origem));
        EXPECT_EQ(LeArquivo(origem), conteudo);
    }
}

} // namespace

struct CasoFalha {
    const char* descricao;
    bool criaOrigem;
    bool origemEhPasta;
    QString destinoRelativo;
    QString motivo;
};
void PrintTo(const CasoFalha& caso, std::ostream* os) { *os << caso.descricao; }

class CompactaFalha : public ::testing::TestWithParam<CasoFalha> {};

TEST_P(CompactaFalha, LancaErroENaoDeixaNadaParaTras)
{
    const CasoFalha& caso = GetParam();
    QTemporaryDir dir;
    const QString origem = dir.path() + QStringLiteral("/BASE.bkp");
    const QByteArray conteudo = caso.criaOrigem ? Registros(200) : QByteArray();
    if (caso.criaOrigem) {
        ASSERT_TRUE(GravaArquivo(origem, conteudo));
    }
    if (caso.origemEhPasta) {
        ASSERT_TRUE(QDir().mkpath(origem));
    }
    const QString zip = dir.path() + QLatin1Char('/') + caso.destinoRelativo;
    const QString pastaZip = QFileInfo(zip).absolutePath();

    VerificaFalha(origem, conteudo, zip, caso.motivo, ConteudoPasta(pastaZip));
    if (caso.origemEhPasta) {
        EXPECT_TRUE(QFileInfo(origem).isDir());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Casos, CompactaFalha,
    ::testing::Values(
        CasoFalha{"origem_inexistente", false, false, QStringLiteral("BASE.bkp.zip"), TextoSo(ENOENT)},
        CasoFalha{"origem_eh_pasta", false, true, QStringLiteral("BASE.bkp.zip"), QStringLiteral("não é um arquivo comum")},
        CasoFalha{"pasta_destino_inexistente", true, false, QStringLiteral("nao/existe/BASE.bkp.zip"), TextoSo(ENOENT)}),
    [](const ::testing::TestParamInfo<CasoFalha>& info) { return std::string(info.param.descricao); });

class CompactaDiscoCheio : public ::testing::TestWithParam<bool> {};

TEST_P(CompactaDiscoCheio, FalhaSemArquivoParcialEPreservaOArquivoAnterior)
{
    const bool haAnterior = GetParam();
    QTemporaryDir dir;
    DiscoPequeno cheio(dir.path() + QStringLiteral("/cheio"), QStringLiteral("1m"));
    if (!cheio.ok()) {
        GTEST_SKIP() << "mount -t tmpfs não permitido neste ambiente";
    }

    const QString origem = dir.path() + QStringLiteral("/BASE.bkp");
    const QByteArray conteudo = Aleatorio(3 * 1024 * 1024, 11);  // does not compress below 1 MiB
    ASSERT_TRUE(GravaArquivo(origem, conteudo));
    const QString zip = dir.path() + QStringLiteral("/cheio/BASE.bkp.zip");
    QByteArray anterior;
    if (haAnterior) {
        anterior = "arquivo de ontem";
        ASSERT_TRUE(GravaArquivo(zip, anterior));
    }

    VerificaFalha(origem, conteudo, zip, TextoSo(ENOSPC), ConteudoPasta(dir.path() + QStringLiteral("/cheio")));
    if (haAnterior) {
        EXPECT_EQ(LeArquivo(zip), anterior) << "o arquivo anterior só pode ser trocado por um completo";
    }
}

INSTANTIATE_TEST_SUITE_P(Casos, CompactaDiscoCheio, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "com_arquivo_anterior" : "pasta_vazia");
                         });

// Backups of real databases pass 4 GiB. A sparse file of zeros on tmpfs reads at
// memory speed and deflates to a few MB, so this takes well under a minute.
// Python reads the whole entry back (length and CRC); unzip only lists it, as its
// -t would spend another ~20 s inflating zeros without looking at other fields.
TEST(Compacta, AcimaDe4GiBUsaZip64)
{
    QTemporaryDir dir;
    // On a disk filesystem the first read of a hole costs the kernel ~15 s more.
    DiscoPequeno fonte(dir.path() + QStringLiteral("/fonte"), QStringLiteral("16m"));
    if (!fonte.ok()) {
        GTEST_SKIP() << "mount -t tmpfs não permitido neste ambiente";
    }
    const qint64 tamanho = (4096LL + 100) * 1024 * 1024;  // just past what 32-bit fields hold
    const QString origem = dir.path() + QStringLiteral("/fonte/GRANDE.bkp");
    {
        QFile f(origem);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(tamanho));
    }
    const QString zip = PastaTeste(dir, QStringLiteral("saida")) + QStringLiteral("/GRANDE.bkp.zip");

    ASSERT_NO_THROW(Compacta(origem, zip));

    const QList<Entrada> entradas = LeGrandeComPython(zip);
    ASSERT_EQ(entradas.size(), 1);
    EXPECT_EQ(entradas[0].nome, QStringLiteral("GRANDE.bkp"));
    EXPECT_EQ(entradas[0].tamanho, tamanho);
    EXPECT_EQ(entradas[0].lidos, tamanho);
    EXPECT_EQ(entradas[0].metodo, 8);
    // Readers that stream from the local header (no central directory) need
    // the real size there too.
    EXPECT_EQ(entradas[0].local64, tamanho);
    EXPECT_FALSE(QFileInfo::exists(origem));

    QByteArray lista;
    EXPECT_EQ(Executa(QStringLiteral("unzip"), {QStringLiteral("-l"), zip}, &lista), 0) << lista.toStdString();
    EXPECT_TRUE(lista.contains(QByteArray::number(tamanho) + "  ")) << lista.toStdString();
}
