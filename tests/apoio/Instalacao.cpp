#include "apoio/Instalacao.h"

#include "apoio/Arquivos.h"
#include "plataforma/DataHora.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <gtest/gtest.h>

QString PastaGbakFalso() { return QStringLiteral(VAULTRUN_TESTS_DIR "/pares/gbak_falso"); }
QString GbakFalso() { return PastaGbakFalso() + QStringLiteral("/gbak"); }
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
    p.setWorkingDirectory(pastaAtual.isEmpty() ? pasta : pastaAtual);
    p.setProcessChannelMode(QProcess::MergedChannels);
    if (envoltorio.isEmpty())
        p.start(pasta + QStringLiteral("Vaultrun"), {});
    else
        p.start(envoltorio.first(), envoltorio.mid(1) << pasta + QStringLiteral("Vaultrun"));
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
    amb.insert(QStringLiteral("GBAK_FALSO"), modos);
    if (!arquivoArgs.isEmpty())
        amb.insert(QStringLiteral("GBAK_FALSO_ARGS"), arquivoArgs);
    return amb;
}

QByteArray ConfigFalso(const QString& destino, const QByteArray& demais, const QByteArray& origem)
{
    return "[Sistema]\r\nGBAK=" + GbakFalso().toLocal8Bit() + "\r\nOrigem=" + origem + "\r\nDestino="
        + destino.toLocal8Bit() + "\r\n" + demais;
}

QDateTime DataDaLinha(const QString& linha)
{
    const qsizetype fim = linha.indexOf(QStringLiteral(" - Base "));
    return QLocale::system().toDateTime(linha.left(fim), FormatoDataCurta() + QLatin1Char(' ') + FormatoHoraLonga());
}

void ConfereLinha(const QString& linha, const QString& resultado)
{
    EXPECT_TRUE(linha.endsWith(QStringLiteral(" - Base ") + resultado)) << linha.toStdString();
    const QDateTime quando = DataDaLinha(linha);
    EXPECT_TRUE(quando.isValid()) << linha.toStdString();
    EXPECT_LE(qAbs(quando.secsTo(QDateTime::currentDateTime())), 120) << linha.toStdString();
}
