#include "Fm_Executa.h"

#include "procedimento/BackupBase.h"
#include "configuracao/Configuracao.h"
#include "janelas/Confirma.h"
#include "janelas/ControlesQt.h"
#include "plataforma/DataHora.h"
#include "Execucao.h"
#include "plataforma/Plataforma.h"
#include "plataforma/Pausa.h"
#include "plataforma/TextoLocal.h"
#include "TravaExecucao.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScreen>
#include <cstdio>

namespace {

// Without a display the stage texts go to standard error, one line per stage: the
// countdown's every second would only fill a scheduler's mail.
class RotuloComEco : public Rotulo {
public:
    explicit RotuloComEco(std::unique_ptr<Rotulo> base) : base_(std::move(base)) {}
    QString texto() const override { return base_->texto(); }
    void defineTexto(const QString& texto) override
    {
        base_->defineTexto(texto);
        QString estagio = texto;
        for (const char* contador : {"Restando: ", "Medindo: "}) {
            const qsizetype i = estagio.indexOf(QLatin1String(contador));
            if (i >= 0)
                estagio = estagio.left(i) + QLatin1String(contador);
        }
        // A bare stage prefix ("Cópia segurança - ") is followed at once by its
        // countdown; only the countdown line is worth printing.
        if (estagio != ultimoEstagio_ && !texto.trimmed().isEmpty() && !texto.endsWith(QStringLiteral(" - "))) {
            ultimoEstagio_ = estagio;
            std::fprintf(stderr, "%s\n", ParaTextoLocal(texto).constData());
            std::fflush(stderr);
        }
    }
    bool visivel() const override { return base_->visivel(); }
    void defineVisivel(bool visivel) override { base_->defineVisivel(visivel); }

private:
    std::unique_ptr<Rotulo> base_;
    QString ultimoEstagio_;
};

const QString EnderecoFabricante = QStringLiteral("www.vaultrun.com.br");

}

TFm_Executa::TFm_Executa(bool semDisplay, QWidget* parent) : QWidget(parent), semDisplay_(semDisplay)
{
    setObjectName(QStringLiteral("Fm_Executa"));
    setWindowTitle(QStringLiteral("Backup - ") + EnderecoFabricante);
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(528, 81);
    CentraNaTela();
    QFont fonte(QStringLiteral("MS Sans Serif"));
    fonte.setPixelSize(13);
    setFont(fonte);
    setAutoFillBackground(true);

    LbCopia = new QLabel(QStringLiteral("[ Copiando... Aguarde ]"), this);
    LbCopia->setObjectName(QStringLiteral("LbCopia"));
    LbCopia->move(12, 13);
    QFont negrito = fonte;
    negrito.setBold(true);
    negrito.setPixelSize(16);
    LbCopia->setFont(negrito);
    LbCopia->setStyleSheet(QStringLiteral("color: green;"));
    LbCopia->adjustSize();
    LbCopia->hide();

    Gauge1 = new QProgressBar(this);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setGeometry(12, 40, 497, 21);
    Gauge1->setTextVisible(true);
    Gauge1->setStyleSheet(QStringLiteral("QProgressBar::chunk { background-color: rgb(64, 128, 128); }"));
    Gauge1->setValue(0);
    Gauge1->hide();

    LbPrevisao = new QLabel(this);
    LbPrevisao->setObjectName(QStringLiteral("LbPrevisao"));
    LbPrevisao->move(12, 64);
    LbPrevisao->hide();

    // Lies below the client area: never seen, it only holds gbak's report.
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(8, 88, 505, 545);
    Memo1->setFocusPolicy(Qt::NoFocus);

    std::unique_ptr<Rotulo> rotulo = std::make_unique<RotuloQt>(LbCopia);
    rotulo_ = semDisplay_ ? std::make_unique<RotuloComEco>(std::move(rotulo)) : std::move(rotulo);
    barra_ = std::make_unique<BarraQt>(Gauge1);
    memo_ = std::make_unique<MemoQt>(Memo1);

    Encerra = [](int codigo) { QCoreApplication::exit(codigo); };
    MostraAlerta = [](const QString& texto) { Confirma(texto, QStringLiteral("&Verificar processo."), QString()); };

    FormCreate();
}

TFm_Executa::~TFm_Executa() = default;

void TFm_Executa::CentraNaTela()
{
    // The primary screen, as a scheduled program's window opens there.
    if (const QScreen* tela = QGuiApplication::primaryScreen()) {
        const QRect area = tela->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

void TFm_Executa::FormCreate()
{
    const QDateTime modificado = QFileInfo(QCoreApplication::applicationFilePath()).lastModified();
    setWindowTitle(windowTitle() + QStringLiteral(" - v.") + QLocale::system().toString(modificado.date(), FormatoDataCurta()));
    Iniciado = false;
    StatusFTP.clear();
    StatusEmail.clear();
}

bool TFm_Executa::event(QEvent* e)
{
    const bool tratado = QWidget::event(e);
    if (e->type() == QEvent::WindowActivate)
        FormActivate();
    return tratado;
}

void TFm_Executa::FormActivate()
{
    if (!Iniciado)
        ExecutaBackup();
}

void TFm_Executa::MostraProgresso(bool mostra)
{
    Gauge1->setVisible(mostra);
    LbPrevisao->setVisible(mostra);
    LbCopia->setVisible(mostra);
    Gauge1->setValue(0);
    LbPrevisao->clear();
}

void TFm_Executa::ExecutaBackup()
{
    showMinimized();
    Iniciado = true;

    const Configuracao cfg = ConfiguracaoDaExecucao(ArquivoConfiguracao(), PastaPrograma());
    AlertaFalha = cfg.Alerta;
    Inicio = QDateTime::currentDateTime();

    // Held until the program ends.
    trava_ = std::make_unique<TravaExecucao>(PastaPrograma());
    if (!trava_->adquire()) {
        Finaliza(MensagemOutraExecucao);
        return;
    }

    const QString problema = VerificaConfiguracao(cfg);
    if (!problema.isEmpty()) {
        Finaliza(problema);
        return;
    }

    const QString base = NomeBaseExecucao(cfg.Origem, QDateTime::currentDateTime());
    Bombeia();

    const QString mensagem = BackupBase({
        .memo = *memo_,
        .sistema = QStringLiteral("agendado"),
        .gbak = cfg.GBAK,
        .senha = cfg.SYSDBAPass,
        .host = cfg.Host,
        .origem = cfg.Origem,
        .arqBackup = base + QStringLiteral(".bkp"),
        .pastaLog = cfg.Log,
        .pastaDestino = cfg.Destino,
        .pastaRede = cfg.Rede,
        .arqLog = base + QStringLiteral(".log"),
        .rotulo = *rotulo_,
        .barra = *barra_,
        .restaura = cfg.Restaura,
        .servico = cfg.Servico,
        .compacta = true,
        .copias = cfg.Copias,
    });

    // The FTP and e-mail stages hook in here once they exist.
    Finaliza(mensagem);
}

void TFm_Executa::Finaliza(const QString& mensagem)
{
    MostraProgresso(false);
    Falhou = ExecucaoFalhou(mensagem, StatusFTP, StatusEmail);
    if (Falhou && AlertaFalha && !semDisplay_ && MostraAlerta)
        MostraAlerta(TextoAlerta(mensagem, StatusFTP, StatusEmail));
    GravaRegistro(TextoResultado(mensagem, StatusFTP, StatusEmail, Inicio));
}

void TFm_Executa::GravaRegistro(const QString& resultado)
{
    AcrescentaRegistro(PastaPrograma() + QStringLiteral("registro.txt"), QDateTime::currentDateTime(), resultado);
    if (semDisplay_) {
        std::fprintf(stderr, "%s\n", ParaTextoLocal(resultado.trimmed()).constData());
        std::fflush(stderr);
    }
    // The loop ends once control is back in it; a failed run ends with code 1 so
    // a scheduler can tell.
    Encerra(Falhou ? 1 : 0);
}
