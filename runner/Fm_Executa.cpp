#include "Fm_Executa.h"

#include "procedimento/BackupBase.h"
#include "configuracao/Configuracao.h"
#include "Envio.h"
#include "janelas/Confirma.h"
#include "janelas/ControlesQt.h"
#include "plataforma/DataHora.h"
#include "Execucao.h"
#include "plataforma/Plataforma.h"
#include "plataforma/Pausa.h"
#include "plataforma/TextoLocal.h"
#include "TravaExecucao.h"
#include "transferencias/Conexao.h"

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

    // The off-site copies, only of a backup that went well. A failed upload does
    // not stop the e-mail; no connection at all ends the run in the FTP stage.
    const QString arquivo = cfg.Destino + base + QStringLiteral(".bkp.zip");
    if (mensagem.isEmpty() && !cfg.FTPHost.isEmpty() && !EnviaFTP(arquivo))
        return;
    if (mensagem.isEmpty() && !cfg.EmailDest.isEmpty()) {
        EnviaEmail(arquivo);
        return;
    }
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

bool TFm_Executa::EnviaFTP(const QString& arquivo)
{
    // The account is read as the stage starts: a backup can take hours, and a
    // password corrected meanwhile should already count.
    const Configuracao cfg = LeConfiguracao(ArquivoConfiguracao());
    StatusFTP = QStringLiteral("; FTP OK");
    if (!ConectadoInternet()) {
        StatusFTP = QStringLiteral("; FTP sem conexão");
        Finaliza(QString());
        return false;
    }
    MostraProgresso(true);
    rotulo_->defineTexto(QStringLiteral("Enviando FTP"));
    Bombeia();

    PedidoFtp pedido = PedidoFtpDe(cfg, arquivo);
    // The first report (0, total) comes once logged in and in the folder, as the
    // bytes start to leave: the estimate counts from there.
    pedido.progresso = [this](qint64 enviado, qint64 total) {
        if (enviado == 0)
            IdFTP1WorkBegin(total);
        IdFTP1Work(enviado);
    };
    StatusFTP = ::EnviaFtp(pedido);
    return true;
}

void TFm_Executa::IdFTP1WorkBegin(qint64 total)
{
    InicioEnvio = QDateTime::currentDateTime();
    totalFtp_ = total;
    Gauge1->setRange(0, qMax(1, PassoDaBarra(total, total).maximo));
}

void TFm_Executa::IdFTP1Work(qint64 enviado)
{
    Gauge1->setValue(PassoDaBarra(enviado, totalFtp_).posicao);
    MostraPrevisao(enviado, totalFtp_);
    Bombeia();
}

void TFm_Executa::EnviaEmail(const QString& arquivo)
{
    const Configuracao cfg = LeConfiguracao(ArquivoConfiguracao());
    StatusEmail = QStringLiteral("; Email não enviado");
    if (!ConectadoInternet()) {
        StatusEmail = QStringLiteral("; Email sem conexão");
        Finaliza(QString());
        return;
    }
    MostraProgresso(true);
    rotulo_->defineTexto(QStringLiteral("Enviando Email..."));
    Bombeia();
    Gauge1->setRange(0, 100);
    Gauge1->setValue(0);

    PedidoEmail pedido = PedidoEmailDe(cfg, arquivo);
    pedido.progresso = [this](qint64 enviado, qint64 total) { IpSmtpClient1Progress(enviado, total); };
    InicioEnvio = QDateTime::currentDateTime();
    // The send blocks this thread, pumping window events from its progress reports;
    // its one result stands for the client's end event.
    StatusEmail = ::EnviaEmail(pedido);
    Finaliza(QString());
}

void TFm_Executa::IpSmtpClient1Progress(qint64 enviado, qint64 total)
{
    Gauge1->setValue(Percentual(enviado, total));
    MostraPrevisao(enviado, total);
    Bombeia();
}

void TFm_Executa::MostraPrevisao(qint64 feito, qint64 total)
{
    const QString linha = LinhaPrevisao(InicioEnvio, feito, total);
    LbPrevisao->setText(linha);
    LbPrevisao->adjustSize();
    if (semDisplay_ && (!ecoPrevisao_.isValid() || ecoPrevisao_.elapsed() >= 1000)) {
        ecoPrevisao_.start();
        std::fprintf(stderr, "%s\n", ParaTextoLocal(linha).constData());
        std::fflush(stderr);
    }
}
