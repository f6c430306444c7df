// The confirmation dialog, driven on the offscreen platform: a timer finds each
// message box as it comes up and plays the next user action on it.
#include "janelas/Confirma.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

const QString Prompt = QStringLiteral("Selecione uma das opções ao lado => ");

// The dialog's buttons left to right, by where they stand on screen.
std::vector<QAbstractButton*> BotoesPorPosicao(QMessageBox* dialogo)
{
    const auto todos = dialogo->findChildren<QAbstractButton*>();
    std::vector<QAbstractButton*> botoes;
    for (QAbstractButton* b : todos)
        if (b->isVisible() && qobject_cast<QDialogButtonBox*>(b->parentWidget()))
            botoes.push_back(b);
    std::sort(botoes.begin(), botoes.end(), [](QAbstractButton* a, QAbstractButton* b) {
        return a->mapTo(a->window(), QPoint()).x() < b->mapTo(b->window(), QPoint()).x();
    });
    return botoes;
}

QStringList Legendas(QMessageBox* dialogo)
{
    QStringList legendas;
    for (QAbstractButton* b : BotoesPorPosicao(dialogo))
        legendas << b->text();
    return legendas;
}

using Acao = std::function<void(QMessageBox*)>;

Acao Clica(int posicao)
{
    return [posicao](QMessageBox* d) {
        const auto botoes = BotoesPorPosicao(d);
        ASSERT_LT(posicao, int(botoes.size()));
        botoes[posicao]->click();
    };
}

Acao Tecla(int tecla)
{
    return [tecla](QMessageBox* d) {
        QKeyEvent evento(QEvent::KeyPress, tecla, Qt::NoModifier);
        QCoreApplication::sendEvent(d, &evento);
    };
}

Acao FechaJanela()
{
    return [](QMessageBox* d) { d->close(); };
}

// Escape, then (later, from the event loop) notes whether the dialog is still up
// and picks the button at `posicao`.
Acao EscapeDepoisClica(int posicao, bool* continuouAberto)
{
    return [posicao, continuouAberto](QMessageBox* d) {
        Tecla(Qt::Key_Escape)(d);
        QPointer<QMessageBox> dialogo(d);
        QTimer::singleShot(30, [dialogo, posicao, continuouAberto] {
            *continuouAberto = dialogo && dialogo->isVisible();
            if (dialogo)
                Clica(posicao)(dialogo);
        });
    };
}

// Plays one action on each new modal message box. A dialog shown more times than
// scripted, or still up two seconds after its action, is a failure; the operator
// then clicks its way out, so a wrong loop cannot hang the test.
class Operador {
public:
    explicit Operador(std::vector<Acao> acoes) : roteiro(std::move(acoes))
    {
        QObject::connect(&relogio, &QTimer::timeout, [this] { Verifica(); });
        relogio.start(5);
    }
    int Vezes() const { return vezes; }

private:
    void Verifica()
    {
        auto* dialogo = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!dialogo)
            return;
        if (dialogo->property("operador_visto").toBool()) {
            if (desdeAcao.elapsed() > 2000) {
                ADD_FAILURE() << "dialog still up after its action";
                desdeAcao.restart();
                Clica(1)(dialogo);
            }
            return;
        }
        dialogo->setProperty("operador_visto", true);
        desdeAcao.restart();
        if (vezes < int(roteiro.size())) {
            roteiro[vezes++](dialogo);
            return;
        }
        // Off script: try the buttons in turn from the right, and give up on a
        // dialog that no button ends.
        const int extra = vezes++ - int(roteiro.size());
        ADD_FAILURE() << "dialog shown more times than scripted";
        const auto botoes = BotoesPorPosicao(dialogo);
        if (extra >= 20 || botoes.empty()) {
            std::fprintf(stderr, "the dialog keeps coming back; giving up\n");
            std::abort();
        }
        botoes[botoes.size() - 1 - extra % botoes.size()]->click();
    }

    std::vector<Acao> roteiro;
    int vezes = 0;
    QTimer relogio;
    QElapsedTimer desdeAcao;
};

int MensagensAbertas()
{
    int abertas = 0;
    const auto janelas = QApplication::topLevelWidgets();
    for (QWidget* w : janelas)
        if (qobject_cast<QMessageBox*>(w))
            ++abertas;
    return abertas;
}

// The offscreen plugin warns on every fixed-size window; QMessageBox is one.
QtMessageHandler anterior = nullptr;

void SemAvisoDeTamanho(QtMsgType tipo, const QMessageLogContext& contexto, const QString& texto)
{
    if (anterior && !texto.contains(QLatin1String("propagateSizeHints")))
        anterior(tipo, contexto, texto);
}

class ConfirmaTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        anterior = qInstallMessageHandler(SemAvisoDeTamanho);
        DefineBeep([this] { ++beeps; });
        DefineTopoExecutor(false);
    }
    void TearDown() override
    {
        DefineBeep({});
        DefineTopoExecutor(false);
        qInstallMessageHandler(anterior);
    }
    int beeps = 0;
};

// --- Result codes of a single showing ------------------------------------------

struct CasoCodigo {
    const char* nome;
    unsigned botoes;
    QStringList legendas;
    std::function<Acao()> acao;
    int codigo;
};

TEST_F(ConfirmaTest, DialogoOpcoesDevolveOCodigoDoQueFoiFeito)
{
    const QStringList duas{Prompt, "Sim", "Não"};
    const QStringList uma{">>", "Continuar"};
    const std::vector<CasoCodigo> casos{
        {"prompt", BotoesDuasOpcoes, duas, [] { return Clica(0); }, BotaoPrompt},
        {"opção 1", BotoesDuasOpcoes, duas, [] { return Clica(1); }, BotaoOpcao1},
        {"opção 2", BotoesDuasOpcoes, duas, [] { return Clica(2); }, BotaoOpcao2},
        {"Enter", BotoesDuasOpcoes, duas, [] { return Tecla(Qt::Key_Return); }, BotaoPrompt},
        {"fechar", BotoesDuasOpcoes, duas, [] { return FechaJanela(); }, BotaoFechado},
        {">>", BotoesUmaOpcao, uma, [] { return Clica(0); }, BotaoPrompt},
        {"única opção", BotoesUmaOpcao, uma, [] { return Clica(1); }, BotaoOpcao1},
        {"Enter, uma opção", BotoesUmaOpcao, uma, [] { return Tecla(Qt::Key_Enter); }, BotaoPrompt},
        {"fechar, uma opção", BotoesUmaOpcao, uma, [] { return FechaJanela(); }, BotaoFechado},
    };
    for (const CasoCodigo& caso : casos) {
        SCOPED_TRACE(caso.nome);
        Operador operador({caso.acao()});
        EXPECT_EQ(DialogoOpcoes("Mensagem", caso.botoes, caso.legendas), caso.codigo);
        EXPECT_EQ(operador.Vezes(), 1);
        EXPECT_EQ(MensagensAbertas(), 0) << "the dialog must be released";
    }
}

// --- Confirma's loop --------------------------------------------------------------

struct CasoConfirma {
    const char* nome;
    QString opcao2;
    std::function<std::vector<Acao>()> acoes;
    bool resultado;
    int vezes;
};

TEST_F(ConfirmaTest, RepeteOAvisoAteUmaOpcaoSerEscolhida)
{
    const std::vector<CasoConfirma> casos{
        {"opção 1", "Não", [] { return std::vector<Acao>{Clica(1)}; }, true, 1},
        {"opção 2", "Não", [] { return std::vector<Acao>{Clica(2)}; }, false, 1},
        {"prompt, Enter e fechar voltam",
         "Não",
         [] {
             return std::vector<Acao>{Clica(0), Tecla(Qt::Key_Return), FechaJanela(), Clica(2)};
         },
         false,
         4},
        {"uma opção", "", [] { return std::vector<Acao>{Clica(1)}; }, true, 1},
        {"uma opção: >> e fechar voltam",
         "",
         [] { return std::vector<Acao>{Clica(0), FechaJanela(), Tecla(Qt::Key_Enter), Clica(1)}; },
         true,
         4},
    };
    for (const CasoConfirma& caso : casos) {
        SCOPED_TRACE(caso.nome);
        beeps = 0;
        std::vector<int> beepsAoMostrar;
        std::vector<Acao> acoes;
        for (Acao& acao : caso.acoes()) {
            acoes.push_back([this, &beepsAoMostrar, acao](QMessageBox* d) {
                beepsAoMostrar.push_back(beeps);
                acao(d);
            });
        }
        Operador operador(std::move(acoes));
        EXPECT_EQ(Confirma("Continuar?", "Sim", caso.opcao2), caso.resultado);
        EXPECT_EQ(operador.Vezes(), caso.vezes);
        // A fresh beep before every showing, none after the last.
        std::vector<int> esperado(caso.vezes);
        for (int i = 0; i < caso.vezes; ++i)
            esperado[i] = i + 1;
        EXPECT_EQ(beepsAoMostrar, esperado);
        EXPECT_EQ(beeps, caso.vezes);
        EXPECT_EQ(MensagensAbertas(), 0);
    }
}

TEST_F(ConfirmaTest, EscapeNaoFazNada)
{
    for (const QString& opcao2 : {QStringLiteral("Não"), QString()}) {
        SCOPED_TRACE(opcao2.toStdString());
        bool continuouAberto = false;
        Operador operador({EscapeDepoisClica(1, &continuouAberto)});
        EXPECT_TRUE(Confirma("Continuar?", "Sim", opcao2));
        EXPECT_TRUE(continuouAberto);
        EXPECT_EQ(operador.Vezes(), 1);
    }
}

// --- What the dialog looks like --------------------------------------------------

struct Aparencia {
    QString titulo;
    QString texto;
    QMessageBox::Icon icone = QMessageBox::NoIcon;
    QStringList legendas;
    QFont fontePrimeiro;
    QString padrao;
    bool escape = false;
    bool quebraTexto = false;
    std::vector<int> larguras;
    std::vector<int> esperadas;  // text width + 10, from the button's own font
    std::vector<int> folgas;
    QPoint centro;
    QPoint centroTela;
};

Acao Observa(Aparencia* a, int depois)
{
    return [a, depois](QMessageBox* d) {
        a->titulo = d->windowTitle();
        a->texto = d->text();
        a->icone = d->icon();
        a->legendas = Legendas(d);
        a->padrao = d->defaultButton() ? d->defaultButton()->text() : QString();
        a->escape = d->escapeButton() != nullptr;
        if (auto* rotulo = d->findChild<QLabel*>("qt_msgbox_label"))
            a->quebraTexto = rotulo->wordWrap();
        const auto botoes = BotoesPorPosicao(d);
        if (!botoes.empty())
            a->fontePrimeiro = botoes.front()->font();
        for (size_t i = 0; i < botoes.size(); ++i) {
            a->larguras.push_back(botoes[i]->width());
            a->esperadas.push_back(LarguraTexto(botoes[i]->text(), botoes[i]->font(), d) + 10);
            if (i > 0)
                a->folgas.push_back(botoes[i]->geometry().left() - botoes[i - 1]->geometry().right() - 1);
        }
        a->centro = d->frameGeometry().center();
        a->centroTela = d->screen()->geometry().center();
        Clica(depois)(d);
    };
}

TEST_F(ConfirmaTest, DuasOpcoes)
{
    Aparencia a;
    Operador operador({Observa(&a, 2)});
    EXPECT_FALSE(Confirma("Primeira linha\r\nSegunda\rTerceira\n", "Gravar", "Descartar"));

    EXPECT_EQ(a.titulo, "Atenção");
    EXPECT_EQ(a.icone, QMessageBox::Warning);
    EXPECT_EQ(a.texto, "Primeira linha\nSegunda\nTerceira\n");
    EXPECT_TRUE(a.quebraTexto);
    EXPECT_EQ(a.legendas, (QStringList{Prompt, "Gravar", "Descartar"}));
    EXPECT_EQ(a.padrao, Prompt);
    EXPECT_FALSE(a.escape);
    EXPECT_EQ(a.larguras, a.esperadas);
    EXPECT_EQ(a.folgas, (std::vector<int>{10, 10}));
    EXPECT_LE((a.centro - a.centroTela).manhattanLength(), 1);
}

TEST_F(ConfirmaTest, UmaOpcao)
{
    Aparencia a;
    Operador operador({Observa(&a, 1)});
    EXPECT_TRUE(Confirma("Backup concluído.", "OK", ""));

    EXPECT_EQ(a.titulo, "Atenção");
    EXPECT_EQ(a.icone, QMessageBox::Warning);
    EXPECT_EQ(a.legendas, (QStringList{">>", "OK"}));
    EXPECT_EQ(a.padrao, ">>");
    EXPECT_FALSE(a.escape);
    EXPECT_EQ(a.larguras, a.esperadas);
    EXPECT_EQ(a.folgas, (std::vector<int>{10}));
    EXPECT_LE((a.centro - a.centroTela).manhattanLength(), 1);
}

TEST_F(ConfirmaTest, OPromptTemTrintaESeisCaracteresEOBrancoFinalContaNaLargura)
{
    Aparencia a;
    Operador operador({Observa(&a, 1)});
    Confirma("Mensagem", "Sim", "Não");
    ASSERT_FALSE(a.legendas.isEmpty());
    EXPECT_EQ(a.legendas.front().size(), 36);
    ASSERT_FALSE(a.larguras.empty());
    EXPECT_GT(a.larguras.front(), LarguraTexto(Prompt.trimmed(), a.fontePrimeiro, nullptr) + 10);
}

// --- Button geometry, measured before and after AjustaBotoes ---------------------

struct Medida {
    int largura = 0;
    std::vector<int> botoes;
    int soma() const
    {
        int s = 0;
        for (int b : botoes)
            s += b;
        return s;
    }
};

Medida Mede(QMessageBox* d)
{
    Medida m;
    m.largura = d->width();
    for (QAbstractButton* b : BotoesPorPosicao(d))
        m.botoes.push_back(b->width());
    return m;
}

struct CasoGeometria {
    const char* nome;
    QString mensagem;
    unsigned botoes;
    QStringList legendas;
};

std::vector<CasoGeometria> CasosGeometria()
{
    const QString longa = QString("Não foi possível copiar o arquivo de backup para a pasta de "
                                  "destino. ")
                              .repeated(6);
    return {
        {"duas opções", "Confirma?", BotoesDuasOpcoes, {Prompt, "Sim", "Não"}},
        {"uma opção", "Feito.", BotoesUmaOpcao, {">>", "Continuar"}},
        {"legendas longas",
         "Confirma?",
         BotoesDuasOpcoes,
         {Prompt, "Interromper o backup agora mesmo", "Deixar o backup seguir até o fim"}},
        {"texto que quebra", longa, BotoesDuasOpcoes, {Prompt, "Tentar de novo", "Desistir"}},
        {"e comercial", "Confirma?", BotoesDuasOpcoes, {Prompt, "Salvar & sair", "&Não"}},
    };
}

void ProcessaEventos()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

TEST_F(ConfirmaTest, AjustaBotoesDaLarguraFolgaECrescimento)
{
    for (const CasoGeometria& caso : CasosGeometria()) {
        SCOPED_TRACE(caso.nome);
        const auto dialogo = MontaDialogoOpcoes(caso.mensagem, caso.botoes);
        dialogo->show();
        ProcessaEventos();
        const Medida antes = Mede(dialogo.get());
        ASSERT_EQ(int(antes.botoes.size()), caso.legendas.size());

        AjustaBotoes(dialogo.get(), caso.legendas);
        ProcessaEventos();

        const auto botoes = BotoesPorPosicao(dialogo.get());
        EXPECT_EQ(Legendas(dialogo.get()), caso.legendas);
        const Medida depois = Mede(dialogo.get());
        for (size_t i = 0; i < botoes.size(); ++i) {
            EXPECT_EQ(botoes[i]->width(),
                      LarguraTexto(botoes[i]->text(), botoes[i]->font(), dialogo.get()) + 10)
                << i;
            if (i > 0) {
                EXPECT_EQ(botoes[i]->x() - (botoes[i - 1]->x() + botoes[i - 1]->width()), 10) << i;
            }
            // Nothing pushed off the edge of the box.
            EXPECT_LE(botoes[i]->mapTo(dialogo.get(), QPoint(botoes[i]->width(), 0)).x(),
                      dialogo->width());
        }
        const int n = caso.legendas.size();
        EXPECT_EQ(depois.largura - antes.largura, depois.soma() - antes.soma() + 10 * n);

        // QMessageBox measures itself again on layout requests and on every show;
        // the adjusted width has to survive both.
        QCoreApplication::postEvent(dialogo.get(), new QEvent(QEvent::LayoutRequest));
        ProcessaEventos();
        EXPECT_EQ(dialogo->width(), depois.largura);
        dialogo->hide();
        dialogo->show();
        ProcessaEventos();
        EXPECT_EQ(dialogo->width(), depois.largura);
        EXPECT_EQ(Mede(dialogo.get()).botoes, depois.botoes);
    }
}

TEST_F(ConfirmaTest, DialogoOpcoesCresceSobreAMedidaDoProprioQMessageBox)
{
    for (const CasoGeometria& caso : CasosGeometria()) {
        SCOPED_TRACE(caso.nome);
        Medida antes;
        {
            const auto referencia = MontaDialogoOpcoes(caso.mensagem, caso.botoes);
            referencia->show();
            ProcessaEventos();
            antes = Mede(referencia.get());
        }
        Medida depois;
        Operador operador({[&depois](QMessageBox* d) {
            depois = Mede(d);
            Clica(1)(d);
        }});
        EXPECT_EQ(DialogoOpcoes(caso.mensagem, caso.botoes, caso.legendas), BotaoOpcao1);
        ASSERT_EQ(depois.botoes.size(), antes.botoes.size());
        const int n = caso.legendas.size();
        EXPECT_EQ(depois.largura - antes.largura, depois.soma() - antes.soma() + 10 * n);
    }
}

TEST_F(ConfirmaTest, LarguraTextoContaOEComercialComoCaractere)
{
    QFont fonte = QApplication::font();
    const QFontMetrics fm(fonte);
    EXPECT_EQ(LarguraTexto("A&B", fonte, nullptr), fm.horizontalAdvance("A&B"));
    EXPECT_GT(LarguraTexto("A&B", fonte, nullptr), LarguraTexto("AB", fonte, nullptr));
    EXPECT_GT(LarguraTexto("&", fonte, nullptr), 0);
    EXPECT_GT(LarguraTexto("Sim ", fonte, nullptr), LarguraTexto("Sim", fonte, nullptr));

    // The font passed in is the one measured, not the window's.
    QWidget janela;
    QFont grande = fonte;
    grande.setPointSize(fonte.pointSize() * 3);
    EXPECT_GT(LarguraTexto("Sim", grande, &janela), LarguraTexto("Sim", fonte, &janela));
}

TEST_F(ConfirmaTest, BotaoComEComercialMedeOEComercial)
{
    const auto dialogo = MontaDialogoOpcoes("Confirma?", BotoesUmaOpcao);
    dialogo->show();
    ProcessaEventos();
    AjustaBotoes(dialogo.get(), {">>", "A&B"});
    ProcessaEventos();
    const auto botoes = BotoesPorPosicao(dialogo.get());
    ASSERT_EQ(botoes.size(), 2u);
    const QFontMetrics fm(botoes[1]->font());
    EXPECT_EQ(botoes[1]->width(), fm.horizontalAdvance("A&B") + 10);
    EXPECT_GT(botoes[1]->width(), fm.horizontalAdvance("AB") + 10);
}

// --- Stay-on-top windows --------------------------------------------------------

struct EstadoTopo {
    bool outraWidget = false;
    bool outraNativa = false;
    bool principal = false;
    bool outraVisivel = false;
};

bool NoTopo(QWidget* w) { return w->windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

bool NativaNoTopo(QWidget* w)
{
    return w->windowHandle() && w->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
}

TEST_F(ConfirmaTest, JanelasSempreNoTopoSaemDoTopoSoNoExecutor)
{
    for (const bool executor : {true, false}) {
        SCOPED_TRACE(executor ? "executor" : "configurador");
        QMainWindow principal;
        principal.setWindowFlag(Qt::WindowStaysOnTopHint);
        principal.show();
        QWidget outra;
        outra.setWindowFlag(Qt::WindowStaysOnTopHint);
        outra.show();
        QWidget comum;
        comum.show();
        ProcessaEventos();

        DefineTopoExecutor(executor);
        std::vector<EstadoTopo> estados;
        auto observa = [&](Acao acao) {
            return [&, acao](QMessageBox* d) {
                estados.push_back(
                    {NoTopo(&outra), NativaNoTopo(&outra), NoTopo(&principal), outra.isVisible()});
                acao(d);
            };
        };
        Operador operador({observa(FechaJanela()), observa(Clica(0)), observa(Clica(1))});
        EXPECT_TRUE(Confirma("Mensagem", "Sim", "Não"));
        ASSERT_EQ(estados.size(), 3u);
        for (const EstadoTopo& e : estados) {
            EXPECT_EQ(e.outraWidget, !executor);
            EXPECT_EQ(e.outraNativa, !executor);
            EXPECT_TRUE(e.principal);
            EXPECT_TRUE(e.outraVisivel);
        }
        EXPECT_TRUE(NoTopo(&outra));
        EXPECT_TRUE(NativaNoTopo(&outra));
        EXPECT_TRUE(outra.isVisible());
        EXPECT_TRUE(NoTopo(&principal));
        EXPECT_FALSE(NoTopo(&comum));
    }
}

TEST_F(ConfirmaTest, JanelaChamadaFmExecutaFicaNoTopo)
{
    QWidget fmExecuta;
    fmExecuta.setObjectName("Fm_Executa");
    fmExecuta.setWindowFlag(Qt::WindowStaysOnTopHint);
    fmExecuta.show();
    ProcessaEventos();
    DefineTopoExecutor(true);
    bool noTopo = false;
    Operador operador({[&](QMessageBox* d) {
        noTopo = NoTopo(&fmExecuta);
        Clica(1)(d);
    }});
    EXPECT_TRUE(Confirma("Mensagem", "Sim", "Não"));
    EXPECT_TRUE(noTopo);
    EXPECT_TRUE(NoTopo(&fmExecuta));
}

}  // namespace
