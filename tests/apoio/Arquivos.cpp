#include "apoio/Arquivos.h"

#include "apoio/Processos.h"

#include <QDir>
#include <QFile>

QString PastaTeste(const QTemporaryDir& dir, const QString& sub)
{
    QString caminho = sub.isEmpty() ? dir.path() : dir.path() + QLatin1Char('/') + sub;
    QDir().mkpath(caminho);
    return caminho;
}

bool GravaArquivo(const QString& caminho, const QByteArray& bytes)
{
    QFile f(caminho);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(bytes) == bytes.size();
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
