#include "plataforma/Plataforma.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

QChar SeparadorPasta() { return QDir::separator(); }

QString PastaPrograma()
{
    QString pasta = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    if (!pasta.endsWith(SeparadorPasta()))
        pasta += SeparadorPasta();
    return pasta;
}

QStringList DivideLinhaComando(const QString& linha)
{
    QStringList argumentos;
    QString atual;
    bool temArgumento = false;
    bool entreAspas = false;
    const qsizetype n = linha.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = linha[i];
        if (c == QLatin1Char('\\')) {
            qsizetype barras = 0;
            while (i < n && linha[i] == QLatin1Char('\\')) {
                ++barras;
                ++i;
            }
            if (i < n && linha[i] == QLatin1Char('"')) {
                // 2n backslashes + quote: n backslashes, the quote toggles;
                // 2n+1 backslashes + quote: n backslashes and a literal quote.
                atual += QString(barras / 2, QLatin1Char('\\'));
                if (barras % 2 == 1) {
                    atual += QLatin1Char('"');
                    ++i;
                }
            } else {
                atual += QString(barras, QLatin1Char('\\'));
            }
            temArgumento = true;
            continue;
        }
        if (c == QLatin1Char('"')) {
            if (entreAspas && i + 1 < n && linha[i + 1] == QLatin1Char('"')) {
                atual += QLatin1Char('"');  // "" inside quotes is a literal quote
                i += 2;
                continue;
            }
            entreAspas = !entreAspas;
            temArgumento = true;
            ++i;
            continue;
        }
        if (!entreAspas && (c == QLatin1Char(' ') || c == QLatin1Char('\t'))) {
            if (temArgumento) {
                argumentos << atual;
                atual.clear();
                temArgumento = false;
            }
            ++i;
            continue;
        }
        atual += c;
        temArgumento = true;
        ++i;
    }
    if (temArgumento)
        argumentos << atual;
    return argumentos;
}

bool Executavel(const QString& caminho)
{
    const QFileInfo info(caminho);
    return !caminho.isEmpty() && info.isFile() && info.isExecutable();
}

namespace {
QStringList NomesCandidatos(const QString& nome)
{
#ifdef Q_OS_WIN
    if (QFileInfo(nome).suffix().isEmpty())
        return {nome + QStringLiteral(".exe"), nome};
#endif
    return {nome};
}
}

QString LocalizaPrograma(const QString& nome)
{
    if (nome.isEmpty())
        return {};
    if (nome.contains(QLatin1Char('/')) || nome.contains(QLatin1Char('\\'))) {
        for (const QString& candidato : NomesCandidatos(nome))
            if (Executavel(candidato))
                return QFileInfo(candidato).absoluteFilePath();
        return {};
    }
    QStringList pastas{QCoreApplication::applicationDirPath(), QDir::currentPath()};
    const QString path = qEnvironmentVariable("PATH");
#ifdef Q_OS_WIN
    pastas += path.split(QLatin1Char(';'), Qt::SkipEmptyParts);
#else
    pastas += path.split(QLatin1Char(':'), Qt::SkipEmptyParts);
#endif
    for (const QString& pasta : pastas)
        for (const QString& candidato : NomesCandidatos(nome)) {
            const QString caminho = QDir(pasta).filePath(candidato);
            if (Executavel(caminho))
                return QFileInfo(caminho).absoluteFilePath();
        }
    return {};
}

int ExecutaProcesso(const QString& programa, const QStringList& argumentos, const AmbienteExtra& ambiente)
{
    QProcess processo;
    if (!ambiente.isEmpty()) {
        QProcessEnvironment variaveis = QProcessEnvironment::systemEnvironment();
        for (auto it = ambiente.cbegin(); it != ambiente.cend(); ++it)
            variaveis.insert(it.key(), it.value());
        processo.setProcessEnvironment(variaveis);
    }
    processo.setProgram(programa);
    processo.setArguments(argumentos);
    processo.setStandardInputFile(QProcess::nullDevice());
    processo.setStandardOutputFile(QProcess::nullDevice());
    processo.setStandardErrorFile(QProcess::nullDevice());
    processo.start();
    if (!processo.waitForStarted(-1))
        return ProcessoNaoIniciado;
    processo.waitForFinished(-1);
    return processo.exitStatus() == QProcess::NormalExit ? processo.exitCode() : ProcessoInterrompido;
}

bool EhOculto(const QString& caminho)
{
    const QFileInfo info(caminho);
    return info.fileName().startsWith(QLatin1Char('.')) || info.isHidden();
}

bool SincronizaArquivo(const QString& caminho)
{
#ifdef Q_OS_WIN
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::ReadWrite))
        return false;
    return _commit(arquivo.handle()) == 0;
#else
    const int fd = ::open(QFile::encodeName(caminho).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
#endif
}

void CopiaModo(const QString& modelo, int descritor)
{
#ifdef Q_OS_WIN
    Q_UNUSED(modelo);
    Q_UNUSED(descritor);
#else
    struct stat info {};
    if (descritor >= 0 && ::stat(QFile::encodeName(modelo).constData(), &info) == 0)
        ::fchmod(descritor, info.st_mode & 07777);
#endif
}
