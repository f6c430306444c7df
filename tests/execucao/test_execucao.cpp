// The runner's outcome: the run log line, the alert, the run's file names; in
// process, with the date formats fixed as on a Brazilian machine.
#include "apoio/Arquivos.h"
#include "apoio/Texto.h"
#include "janelas/Confirma.h"
#include "plataforma/DataHora.h"
#include "Execucao.h"
#include "Fm_Executa.h"
#include "plataforma/Plataforma.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QScreen>
#include <QLabel>
#include <QProgressBar>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QDateTime Inicio(QDate(2023, 12, 25), QTime(9, 30, 0));

class FormatosBrasileiros : public ::testing::Test {
protected:
    void SetUp() override { DefineFormatosData(QStringLiteral("dd/MM/yyyy"), QStringLiteral("HH:mm:ss")); }
    void TearDown() override { DefineFormatosData({}, {}); }
};

TEST_F(FormatosBrasileiros, TextoDoResultado)
{
    const struct {
        const char* mensagem;
        const char* ftp;
        const char* email;
        const char* texto;
    } casos[] = {
        {"", "", "", " - OK - Executado com sucesso; iniciado 25/12/2023 09:30:00"},
        // On success the e-mail status comes first, on failure the FTP status.
        {"", "; FTP OK", "; Email OK", " - OK - Executado com sucesso; Email OK; FTP OK; iniciado 25/12/2023 09:30:00"},
        {"Detectado erro no registro da cópia.", "", "", " - FALHA - Detectado erro no registro da cópia."},
        {"", "; FTP sem conexão", "", " - FALHA - Local OK; FTP sem conexão"},
        {"", "; FTP sem conexão", "; Email OK", " - FALHA - Local OK; FTP sem conexão; Email OK"},
        {"", "", "; Email não enviado", " - FALHA - Local OK; Email não enviado"},
        {"x", "; FTP OK", "; Email OK", " - FALHA - x; FTP OK; Email OK"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(TextoResultado(QString::fromUtf8(c.mensagem), QString::fromUtf8(c.ftp), QString::fromUtf8(c.email), Inicio),
                  QString::fromUtf8(c.texto));
}

TEST_F(FormatosBrasileiros, FormatoCOmiteMeiaNoite)
{
    EXPECT_EQ(FormatoC(Inicio), QStringLiteral("25/12/2023 09:30:00"));
    EXPECT_EQ(FormatoC(QDateTime(QDate(2024, 1, 2), QTime(0, 0, 0))), QStringLiteral("02/01/2024"));
    EXPECT_EQ(FormatoC(QDateTime(QDate(2024, 1, 2), QTime(0, 0, 1))), QStringLiteral("02/01/2024 00:00:01"));
}

TEST(FormatosDaMaquina, AnoComQuatroDigitosEHoraSemFuso)
{
    EXPECT_TRUE(FormatoDataCurta().contains(QStringLiteral("yyyy")));
    EXPECT_FALSE(FormatoHoraLonga().contains(QLatin1Char('t')));
    EXPECT_TRUE(FormatoHoraLonga().contains(QLatin1Char('s')));
}

TEST(NomeBaseExecucao, BancoEHorario)
{
    const QDateTime t(QDate(2023, 12, 25), QTime(9, 30, 59));
    EXPECT_EQ(NomeBaseExecucao(QStringLiteral("C:\\Dados\\BASE.FDB"), t), QStringLiteral("BASE-25-12-2023-0930"));
    EXPECT_EQ(NomeBaseExecucao(QStringLiteral("/srv/dados/base.v2.fdb"), t), QStringLiteral("base-25-12-2023-0930"));
    EXPECT_EQ(NomeBaseExecucao(QStringLiteral("/srv/dados/BASE"), t), QStringLiteral("-25-12-2023-0930"));
    EXPECT_EQ(NomeBaseExecucao(QStringLiteral("x.fdb"), QDateTime(QDate(2024, 1, 2), QTime(23, 5))),
              QStringLiteral("x-02-01-2024-2305"));
}

// The window's outcome routine, with the run log in the test program's folder.
class Desfecho : public FormatosBrasileiros {
protected:
    QString registro = PastaPrograma() + QStringLiteral("registro.txt");
    QStringList alertas;
    QList<int> codigos;

    void SetUp() override
    {
        FormatosBrasileiros::SetUp();
        QFile::remove(registro);
    }
    void TearDown() override
    {
        QFile::remove(registro);
        FormatosBrasileiros::TearDown();
    }
    std::unique_ptr<TFm_Executa> Janela(bool semDisplay, bool alerta)
    {
        auto janela = std::make_unique<TFm_Executa>(semDisplay);
        janela->AlertaFalha = alerta;
        janela->Inicio = Inicio;
        janela->MostraAlerta = [this](const QString& texto) { alertas << texto; };
        janela->Encerra = [this](int codigo) { codigos << codigo; };
        return janela;
    }
    QString Linha()
    {
        const QByteArray bytes = LeArquivo(registro);
        EXPECT_TRUE(bytes.endsWith("\r\n"));
        EXPECT_EQ(bytes.count('\n'), 1);
        return QString::fromLocal8Bit(bytes.chopped(2));
    }
};

TEST_F(Desfecho, AlertaSoNaFalhaComAlertaLigadoEDisplay)
{
    const struct {
        bool semDisplay;
        bool alerta;
        const char* mensagem;
        const char* ftp;
        bool alertou;
        const char* fimDaLinha;
    } casos[] = {
        {false, true, "Backup NÃO FOI realizado!", "", true, " - Base  - FALHA - Backup NÃO FOI realizado!"},
        {false, true, "", "; FTP sem conexão", true, " - Base  - FALHA - Local OK; FTP sem conexão"},
        {false, false, "Backup NÃO FOI realizado!", "", false, " - Base  - FALHA - Backup NÃO FOI realizado!"},
        {true, true, "Backup NÃO FOI realizado!", "", false, " - Base  - FALHA - Backup NÃO FOI realizado!"},
        {false, true, "", "; FTP OK", false, " - Base  - OK - Executado com sucesso; FTP OK; iniciado 25/12/2023 09:30:00"},
    };
    for (const auto& c : casos) {
        alertas.clear();
        QFile::remove(registro);
        auto janela = Janela(c.semDisplay, c.alerta);
        janela->StatusFTP = QString::fromUtf8(c.ftp);
        const QDateTime antes = QDateTime::currentDateTime();
        janela->Finaliza(QString::fromUtf8(c.mensagem));
        const QString linha = Linha();
        EXPECT_TRUE(linha.endsWith(QString::fromUtf8(c.fimDaLinha))) << linha.toStdString();
        const QDateTime quando = QDateTime::fromString(linha.left(19), QStringLiteral("dd/MM/yyyy HH:mm:ss"));
        EXPECT_LE(qAbs(quando.secsTo(antes)), 2) << linha.toStdString();
        EXPECT_EQ(alertas.size(), c.alertou ? 1 : 0) << c.fimDaLinha;
        EXPECT_EQ(codigos.takeLast(), linha.contains(QStringLiteral(" - FALHA - ")) ? 1 : 0);
        if (c.alertou) {
            EXPECT_EQ(alertas.first(), QStringLiteral("Erro no backup diário: ") + QString::fromUtf8(*c.mensagem ? c.mensagem : "Local OK")
                                           + QString::fromUtf8(c.ftp));
        }
        EXPECT_FALSE(janela->LbCopia->isVisibleTo(janela.get()));
        EXPECT_FALSE(janela->Gauge1->isVisibleTo(janela.get()));
    }
}

// The real alert: the run log line is written only once the operator has picked
// the option, and the prompt button brings the dialog back.
TEST_F(Desfecho, AlertaRealEsperaAOpcao)
{
    auto janela = std::make_unique<TFm_Executa>(false);
    janela->AlertaFalha = true;
    janela->Encerra = [](int) {};
    int mostrado = 0;
    bool registroAntesDaEscolha = true;
    std::function<void()> responde = [&] {
        auto* caixa = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!caixa) {
            QTimer::singleShot(20, responde);
            return;
        }
        ++mostrado;
        registroAntesDaEscolha = QFile::exists(registro);
        EXPECT_EQ(caixa->text(), QStringLiteral("Erro no backup diário: Backup NÃO FOI realizado!"));
        QStringList legendas;
        for (QAbstractButton* b : caixa->buttons())
            legendas << b->text();
        EXPECT_EQ(legendas, (QStringList{QStringLiteral(">>"), QStringLiteral("&Verificar processo.")}));
        const QString alvo = mostrado == 1 ? QStringLiteral(">>") : QStringLiteral("&Verificar processo.");
        for (QAbstractButton* b : caixa->buttons())
            if (b->text() == alvo) {
                b->click();
                break;
            }
        if (mostrado == 1)
            QTimer::singleShot(20, responde);
    };
    QTimer::singleShot(20, responde);
    janela->Finaliza(QStringLiteral("Backup NÃO FOI realizado!"));
    EXPECT_EQ(mostrado, 2);
    EXPECT_FALSE(registroAntesDaEscolha);
    EXPECT_TRUE(Linha().endsWith(QStringLiteral(" - Base  - FALHA - Backup NÃO FOI realizado!")));
}

// The window as it opens: the described title, the fixed client area, centred on
// the screen.
TEST_F(FormatosBrasileiros, JanelaCentradaComOTituloDescrito)
{
    const TFm_Executa janela(true);
    const QDate data = QFileInfo(QCoreApplication::applicationFilePath()).lastModified().date();
    EXPECT_EQ(janela.windowTitle(), QStringLiteral("Backup - www.vaultrun.com.br - v.") + data.toString(QStringLiteral("dd/MM/yyyy")));
    EXPECT_EQ(janela.size(), QSize(528, 81));
    const QRect tela = QGuiApplication::primaryScreen()->geometry();
    EXPECT_LE(qAbs(janela.geometry().center().x() - tela.center().x()), 1) << janela.geometry().x();
    EXPECT_LE(qAbs(janela.geometry().center().y() - tela.center().y()), 1) << janela.geometry().y();
}

// The upload's bar for an archive beyond an int's range: it moves in proportion,
// is full only at the end, and the estimate line counts the real kilobytes.
TEST(ProgressoDoEnvio, BarraDoFtpComArquivoAlemDe2GiB)
{
    const qint64 total = qint64(5) << 30;
    TFm_Executa janela(true);
    janela.MostraProgresso(true);
    janela.IdFTP1WorkBegin(total);
    janela.IdFTP1Work(0);
    EXPECT_EQ(janela.Gauge1->value(), 0);
    EXPECT_EQ(janela.LbPrevisao->text(), QStringLiteral("Previsão: Calculando - 0/5242880"));
    janela.IdFTP1Work(total / 2);
    EXPECT_NEAR(double(janela.Gauge1->value()) / janela.Gauge1->maximum(), 0.5, 1e-6);
    janela.IdFTP1Work(total - 1);
    EXPECT_LT(janela.Gauge1->value(), janela.Gauge1->maximum());
    janela.IdFTP1Work(total);
    EXPECT_EQ(janela.Gauge1->value(), janela.Gauge1->maximum());
    EXPECT_TRUE(janela.LbPrevisao->text().endsWith(QStringLiteral("5242880/5242880"))) << janela.LbPrevisao->text().toStdString();
}

}
