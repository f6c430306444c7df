#include "janelas/Confirma.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QHash>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include <optional>
#include <utility>

namespace {

const QString LegendaPromptDuasOpcoes = QStringLiteral("Selecione uma das opções ao lado => ");
const QString LegendaPromptUmaOpcao = QStringLiteral(">>");

// Space around each caption and between neighbouring buttons.
constexpr int Folga = 10;

// Where the width AjustaBotoes settled on is kept, for the dialog to hold on to it.
constexpr const char* PropriedadeLargura = "confirma_largura";

struct BotaoDoConjunto {
    unsigned bit;
    int codigo;
    const char* legenda;  // stand-in until AjustaBotoes relabels it
};

// In place order. The stand-in captions fix the widths the dialog is first sized
// for; AjustaBotoes grows it from there.
constexpr BotaoDoConjunto BotoesDoConjunto[] = {
    {0x001, BotaoPrompt, "&Sim"},
    {0x080, BotaoOpcao1, "&Todos"},
    {0x100, BotaoOpcao2, "Não para to&dos"},
};

bool& topoExecutor()
{
    static bool ativo = false;
    return ativo;
}

std::function<void()>& beepAtual()
{
    static std::function<void()> beep;
    return beep;
}

void Beep()
{
    if (beepAtual())
        beepAtual()();
    else
        QApplication::beep();
}

QString QuebrasDeLinha(QString texto)
{
    texto.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    texto.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return texto;
}

QList<QAbstractButton*> BotoesNaOrdem(QMessageBox* dialogo)
{
    QList<QAbstractButton*> botoes;
    auto* caixa = dialogo->findChild<QDialogButtonBox*>();
    if (!caixa || !caixa->layout())
        return botoes;
    QLayout* fila = caixa->layout();
    for (int i = 0; i < fila->count(); ++i)
        if (auto* botao = qobject_cast<QAbstractButton*>(fila->itemAt(i)->widget()))
            botoes << botao;
    return botoes;
}

// QMessageBox measures itself again (setFixedSize) on every show and every layout
// request, which would undo AjustaBotoes; this puts the adjusted width back. The
// text always wraps so that a narrower box rewraps it instead of cutting it off.
void MantemLargura(QMessageBox* dialogo)
{
    const QVariant guardada = dialogo->property(PropriedadeLargura);
    if (!guardada.isValid())
        return;
    const int largura = guardada.toInt();
    if (auto* rotulo = dialogo->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
        rotulo->setWordWrap(true);
    QLayout* grade = dialogo->layout();
    grade->activate();
    const int altura = grade->hasHeightForWidth() ? grade->totalHeightForWidth(largura)
                                                  : grade->totalMinimumSize().height();
    dialogo->setFixedSize(largura, altura);
    // The word-wrap switch above posts a layout request that would only bring
    // QMessageBox's own measure back; Qt's sizing drops it the same way.
    QCoreApplication::removePostedEvents(dialogo, QEvent::LayoutRequest);
}

void Centraliza(QWidget* janela)
{
    QScreen* tela = janela->screen() ? janela->screen() : QGuiApplication::primaryScreen();
    if (!tela)
        return;
    QRect quadro = janela->frameGeometry();
    quadro.moveCenter(tela->geometry().center());
    janela->move(quadro.topLeft());
}

class DialogoAviso : public QMessageBox {
public:
    DialogoAviso(const QString& mensagem, unsigned botoes)
    {
        setIcon(QMessageBox::Warning);
        setWindowTitle(QStringLiteral("Atenção"));
        setTextFormat(Qt::PlainText);
        setText(QuebrasDeLinha(mensagem));
        for (const BotaoDoConjunto& b : BotoesDoConjunto) {
            if (!(botoes & b.bit))
                continue;
            // One role for all: QDialogButtonBox orders buttons by role (and by the
            // platform's policy), but never reverses or splits ActionRole, so they
            // stay in the order added. Without a No/Reject role there is no escape
            // button either, which is what leaves Escape doing nothing.
            QPushButton* botao = addButton(QString::fromUtf8(b.legenda), QMessageBox::ActionRole);
            codigos.insert(botao, b.codigo);
            if (!defaultButton())
                setDefaultButton(botao);
        }
    }

    void AjustaAoMostrar(const QStringList& legendas) { legendasPendentes = legendas; }

    int Codigo() const { return codigos.value(clickedButton(), BotaoFechado); }

protected:
    bool event(QEvent* e) override
    {
        const bool tratado = QMessageBox::event(e);
        switch (e->type()) {
        case QEvent::Show:
            // QMessageBox has just sized itself for the stand-in captions, and the
            // window is not on screen yet: relabel and centre now, without a flicker.
            if (legendasPendentes) {
                AjustaBotoes(this, *std::exchange(legendasPendentes, std::nullopt));
                Centraliza(this);
            } else {
                MantemLargura(this);
            }
            break;
        case QEvent::LayoutRequest:
        case QEvent::FontChange:
        case QEvent::StyleChange:
            MantemLargura(this);
            break;
        default:
            break;
        }
        return tratado;
    }

    // QMessageBox ignores the close box when it has no escape button; here it ends
    // the dialog with no button clicked, which Codigo reports as BotaoFechado.
    void closeEvent(QCloseEvent* e) override { QDialog::closeEvent(e); }

private:
    QHash<const QAbstractButton*, int> codigos;
    std::optional<QStringList> legendasPendentes;
};

std::unique_ptr<DialogoAviso> NovoDialogo(const QString& mensagem, unsigned botoes)
{
    return std::make_unique<DialogoAviso>(mensagem, botoes);
}

// Takes the other stay-on-top windows out of the top band for its lifetime. The
// native window's flags are changed in place: setWindowFlags would re-create the
// window, hiding it.
class TopoSuspenso {
public:
    explicit TopoSuspenso(bool ativo)
    {
        if (!ativo)
            return;
        const auto janelasTopo = QApplication::topLevelWidgets();
        for (QWidget* janela : janelasTopo) {
            if (janela->isVisible() && janela->windowFlags().testFlag(Qt::WindowStaysOnTopHint)
                && !JanelaPrincipal(janela)) {
                janelas << janela;
                PoeNoTopo(janela, false);
            }
        }
    }
    ~TopoSuspenso()
    {
        for (const QPointer<QWidget>& janela : std::as_const(janelas))
            if (janela)
                PoeNoTopo(janela, true);
    }
    TopoSuspenso(const TopoSuspenso&) = delete;
    TopoSuspenso& operator=(const TopoSuspenso&) = delete;

private:
    static bool JanelaPrincipal(const QWidget* janela)
    {
        return qobject_cast<const QMainWindow*>(janela)
            || janela->objectName() == QLatin1String("Fm_Executa");
    }

    static void PoeNoTopo(QWidget* janela, bool noTopo)
    {
        const Qt::WindowFlags flags =
            janela->windowFlags().setFlag(Qt::WindowStaysOnTopHint, noTopo);
        if (QWindow* nativa = janela->windowHandle()) {
            janela->overrideWindowFlags(flags);
            nativa->setFlag(Qt::WindowStaysOnTopHint, noTopo);
        } else {
            janela->setWindowFlags(flags);
        }
    }

    QList<QPointer<QWidget>> janelas;
};

}  // namespace

bool Confirma(const QString& mensagem, const QString& opcao1, const QString& opcao2)
{
    QCoreApplication::processEvents();
    const TopoSuspenso topo(topoExecutor());
    const bool duasOpcoes = !opcao2.isEmpty();
    int resultado = BotaoPrompt;
    while (resultado == BotaoPrompt || resultado == BotaoFechado) {
        Beep();
        resultado = duasOpcoes
            ? DialogoOpcoes(mensagem, BotoesDuasOpcoes, {LegendaPromptDuasOpcoes, opcao1, opcao2})
            : DialogoOpcoes(mensagem, BotoesUmaOpcao, {LegendaPromptUmaOpcao, opcao1});
    }
    return resultado == BotaoOpcao1;
}

int DialogoOpcoes(const QString& mensagem, unsigned botoes, const QStringList& legendas)
{
    const std::unique_ptr<DialogoAviso> dialogo = NovoDialogo(mensagem, botoes);
    dialogo->AjustaAoMostrar(legendas);
    dialogo->exec();
    return dialogo->Codigo();
}

void AjustaBotoes(QMessageBox* dialogo, const QStringList& legendas)
{
    const QList<QAbstractButton*> botoes = BotoesNaOrdem(dialogo);
    int antes = 0;
    int depois = 0;
    int ajustados = 0;
    for (QAbstractButton* botao : botoes) {
        if (ajustados == legendas.size())
            break;
        antes += botao->width();
        botao->setText(legendas.at(ajustados));
        const int largura = LarguraTexto(botao->text(), botao->font(), dialogo) + Folga;
        botao->setFixedWidth(largura);
        depois += largura;
        ++ajustados;
    }
    auto* caixa = dialogo->findChild<QDialogButtonBox*>();
    if (caixa && caixa->layout()) {
        caixa->layout()->setSpacing(Folga);
        caixa->layout()->activate();
    }
    dialogo->setProperty(PropriedadeLargura, dialogo->width() + depois - antes + Folga * ajustados);
    MantemLargura(dialogo);
}

// Plain advance, not QFontMetrics::size(Qt::TextShowMnemonic, ...), which would drop
// the '&'. The font alone decides the width; the window does not come into it.
int LarguraTexto(const QString& texto, const QFont& fonte, QWidget* /*janela*/)
{
    return QFontMetrics(fonte).horizontalAdvance(texto);
}

void DefineTopoExecutor(bool ativo) { topoExecutor() = ativo; }

void DefineBeep(std::function<void()> beep) { beepAtual() = std::move(beep); }

std::unique_ptr<QMessageBox> MontaDialogoOpcoes(const QString& mensagem, unsigned botoes)
{
    return NovoDialogo(mensagem, botoes);
}
