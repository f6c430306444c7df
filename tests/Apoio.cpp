#include "Apoio.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <gtest/gtest.h>

QString PastaTeste(const QTemporaryDir& dir, const QString& sub)
{
    QString caminho = sub.isEmpty() ? dir.path() : dir.path() + QLatin1Char('/') + sub;
    QDir().mkpath(caminho);
    return caminho;
}

void AbreParaServidor(const QString& pasta)
{
    // Every level down from the scratch root must be passable; the folder itself
    // writable.
    QString atual = pasta;
    for (int i = 0; i < 3 && !atual.isEmpty() && atual != QStringLiteral("/"); ++i) {
        QFile::setPermissions(atual, QFile::permissions(atual) | QFileDevice::ExeOther | QFileDevice::ReadOther
                                         | (i == 0 ? QFileDevice::WriteOther : QFileDevice::Permissions()));
        atual = QFileInfo(atual).absolutePath();
    }
}

bool GravaArquivo(const QString& caminho, const QByteArray& bytes)
{
    QFile f(caminho);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(bytes) == bytes.size();
}

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

QByteArray LeArquivo(const QString& caminho)
{
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QStringList ConteudoPasta(const QString& pasta)
{
    QStringList nomes = QDir(pasta).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    nomes.sort();
    return nomes;
}

int Executa(const QString& programa, const QStringList& argumentos, QByteArray* saida, const QByteArray& entrada,
            const QProcessEnvironment& ambiente)
{
    QProcess p;
    p.setProcessEnvironment(ambiente);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(programa, argumentos);
    if (!p.waitForStarted(-1))
        return -1;
    if (!entrada.isEmpty())
        p.write(entrada);
    p.closeWriteChannel();
    p.waitForFinished(-1);
    if (saida)
        *saida = p.readAll();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

void CriaBanco(const QString& caminho, int linhas)
{
    AbreParaServidor(QFileInfo(caminho).absolutePath());
    const QByteArray sql = QStringLiteral(
        "create database 'localhost:%1' user 'SYSDBA' password 'bluefjord';\n"
        "create table clientes (id integer not null primary key, nome varchar(60));\n"
        "set term ^;\n"
        "execute block as declare i integer = 1; begin while (i <= %2) do begin "
        "insert into clientes values (:i, 'Cliente ' || :i); i = i + 1; end end^\n"
        "set term ;^\n"
        "commit;\n").arg(caminho).arg(linhas).toUtf8();
    QByteArray saida;
    ASSERT_EQ(Executa(QStringLiteral("isql-fb"), {QStringLiteral("-q")}, &saida, sql), 0) << saida.constData();
    ASSERT_TRUE(QFile::exists(caminho)) << saida.constData();
}

int ContaClientes(const QString& banco)
{
    QByteArray saida;
    const QByteArray sql = "select 'N=' || count(*) from clientes;\n";
    if (Executa(QStringLiteral("isql-fb"),
                {QStringLiteral("-q"), QStringLiteral("-user"), QStringLiteral("sysdba"), QStringLiteral("-password"),
                 QStringLiteral("bluefjord"), QStringLiteral("localhost:") + banco},
                &saida, sql) != 0)
        return -1;
    const qsizetype i = saida.indexOf("N=");
    if (i < 0)
        return -1;
    return saida.mid(i + 2).trimmed().split('\n').first().trimmed().toInt();
}

bool RestauraBackup(const QString& backup, const QString& banco)
{
    AbreParaServidor(QFileInfo(banco).absolutePath());
    QByteArray saida;
    const int rc = Executa(QStringLiteral("gbak"),
                           {QStringLiteral("-r"), QStringLiteral("-rep"), QStringLiteral("-user"), QStringLiteral("sysdba"),
                            QStringLiteral("-password"), QStringLiteral("bluefjord"), backup,
                            QStringLiteral("localhost:") + banco},
                           &saida);
    if (rc != 0)
        ADD_FAILURE() << "gbak -r: " << saida.constData();
    return rc == 0;
}

QString PastaGbakFalso() { return QStringLiteral(VAULTRUN_TESTS_DIR "/gbak_falso"); }
QString ProgramaVaultrun() { return QStringLiteral(VAULTRUN_BUILD_DIR "/runner/Vaultrun"); }

Instalacao::Instalacao(const QString& pastaBase) : pasta(pastaBase + QLatin1Char('/'))
{
    QDir().mkpath(pasta);
    QFile::remove(pasta + QStringLiteral("Vaultrun"));
    EXPECT_TRUE(QFile::copy(ProgramaVaultrun(), pasta + QStringLiteral("Vaultrun")));
}

void Instalacao::GravaConfig(const QByteArray& conteudo) const
{
    ASSERT_TRUE(GravaArquivo(pasta + QStringLiteral("CONFIG.ini"), conteudo));
}

int Instalacao::Executa(const QProcessEnvironment& ambiente, QByteArray* erros) const
{
    QProcess p;
    p.setProcessEnvironment(ambiente);
    p.setWorkingDirectory(pasta);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(pasta + QStringLiteral("Vaultrun"), {});
    if (!p.waitForStarted(-1))
        return -1;
    p.waitForFinished(-1);
    if (erros)
        *erros = p.readAll();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

QStringList Instalacao::LinhasRegistro() const
{
    const QByteArray bytes = LeArquivo(pasta + QStringLiteral("registro.txt"));
    QStringList linhas;
    for (const QByteArray& l : bytes.split('\n'))
        if (!l.isEmpty())
            linhas << QString::fromLocal8Bit(l.endsWith('\r') ? l.chopped(1) : l + "<sem CR>");
    return linhas;
}

QProcessEnvironment Instalacao::AmbienteSemDisplay()
{
    QProcessEnvironment amb = QProcessEnvironment::systemEnvironment();
    amb.remove(QStringLiteral("DISPLAY"));
    amb.remove(QStringLiteral("WAYLAND_DISPLAY"));
    amb.remove(QStringLiteral("QT_QPA_PLATFORM"));
    return amb;
}

QProcessEnvironment Instalacao::AmbienteGbakFalso(const QString& modos, const QString& arquivoArgs)
{
    QProcessEnvironment amb = AmbienteSemDisplay();
    amb.insert(QStringLiteral("PATH"), PastaGbakFalso() + QLatin1Char(':') + amb.value(QStringLiteral("PATH")));
    amb.insert(QStringLiteral("GBAK_FALSO"), modos);
    if (!arquivoArgs.isEmpty())
        amb.insert(QStringLiteral("GBAK_FALSO_ARGS"), arquivoArgs);
    return amb;
}

DiscoPequeno::DiscoPequeno(const QString& pasta, const QString& tamanho) : pasta_(pasta)
{
    QDir().mkpath(pasta);
    montado_ = ::Executa(QStringLiteral("mount"),
                         {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                          QStringLiteral("size=") + tamanho + QStringLiteral(",mode=0777"), QStringLiteral("tmpfs"), pasta})
        == 0;
}

bool DiscoPequeno::SomenteLeitura() const
{
    return ::Executa(QStringLiteral("mount"), {QStringLiteral("-o"), QStringLiteral("remount,ro"), pasta_}) == 0;
}

DiscoPequeno::~DiscoPequeno()
{
    if (montado_)
        ::Executa(QStringLiteral("umount"), {QStringLiteral("-l"), pasta_});
}

ConteudoZip LeZip(const QString& arquivo)
{
    ConteudoZip z;
    z.integro = ::Executa(QStringLiteral("unzip"), {QStringLiteral("-tqq"), arquivo}) == 0;
    const QString script = QStringLiteral(
        "import sys, zipfile\n"
        "z = zipfile.ZipFile(sys.argv[1])\n"
        "i = z.infolist()\n"
        "names = '\\n'.join(e.filename for e in i)\n"
        "method = {0: 'stored', 8: 'deflated'}.get(i[0].compress_type, str(i[0].compress_type)) if i else ''\n"
        "data = z.read(i[0]) if i else b''\n"
        "sys.stdout.buffer.write(method.encode() + b'\\0' + names.encode() + b'\\0' + data)\n");
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, arquivo});
    p.waitForFinished(-1);
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return z;
    const QByteArray saida = p.readAllStandardOutput();
    const qsizetype a = saida.indexOf('\0'), b = saida.indexOf('\0', a + 1);
    z.metodo = QString::fromUtf8(saida.left(a));
    z.nomes = QString::fromUtf8(saida.mid(a + 1, b - a - 1)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    z.primeiro = saida.mid(b + 1);
    return z;
}
