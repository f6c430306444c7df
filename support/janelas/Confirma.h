#pragma once
// The one modal dialog through which the programs ask or alert.
#include <QFont>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QMessageBox;
class QWidget;

// Result codes of the dialog's buttons.
enum CodigoBotao : int {
    BotaoPrompt = 6,   // "Selecione uma das opções ao lado => " / ">>"
    BotaoFechado = 2,  // close box
    BotaoOpcao1 = 8,
    BotaoOpcao2 = 9,
};

// Button sets: bit 0 Yes, bit 7 All, bit 8 No to All.
inline constexpr unsigned BotoesDuasOpcoes = 0x181;
inline constexpr unsigned BotoesUmaOpcao = 0x81;

// Shows the warning dialog until an option is picked: the prompt button, Enter and
// the close box bring it back (with a new beep). An empty option2 gives the
// one-option form. True for option1, false for option2.
bool Confirma(const QString& mensagem, const QString& opcao1, const QString& opcao2);

// Builds the dialog for the button set, relabels it, shows it modally and returns
// the result code of the button pressed (BotaoFechado for the close box).
int DialogoOpcoes(const QString& mensagem, unsigned botoes, const QStringList& legendas);

// Gives the dialog's buttons their captions, widths (text width + 10), 10-pixel
// gaps, and widens the dialog by new widths - old widths + 10 per button. The old
// widths are the ones on screen, so the dialog must have been laid out (shown);
// DialogoOpcoes calls it as its dialog comes up. Buttons beyond the captions keep
// theirs and do not count.
void AjustaBotoes(QMessageBox* dialogo, const QStringList& legendas);

// Width in pixels of `texto` on one line in `fonte` ('&' counts as a character).
int LarguraTexto(const QString& texto, const QFont& fonte, QWidget* janela);

// The runner's build takes the program's other stay-on-top windows out of the top
// band while the dialog is up and puts them back after; the settings tool's does
// not. Off unless the program turns it on. "Other" means every visible top-level
// window with Qt::WindowStaysOnTopHint except the main window, which is any
// QMainWindow and the widget whose objectName is "Fm_Executa".
void DefineTopoExecutor(bool ativo);

// Replaces the beep that comes before each showing (tests only). An empty function
// restores QApplication::beep.
void DefineBeep(std::function<void()> beep);

// The dialog DialogoOpcoes shows, as built: warning icon, title, text and the set's
// buttons under their own captions, not yet relabelled. Shown as is it keeps those
// captions; tests use it to measure the dialog before and after AjustaBotoes.
std::unique_ptr<QMessageBox> MontaDialogoOpcoes(const QString& mensagem, unsigned botoes);
