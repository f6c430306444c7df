#pragma once
// Answers the choice dialogs a window puts up while a test drives it: each dialog
// that comes up is noted and answered with the next option of the list, pressed
// by its caption (a dialog without that caption stays up, and the test hangs
// until its time-out). A dialog with no answer left gets its first option and
// counts as unexpected.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

class RespondeDialogos {
public:
    explicit RespondeDialogos(QStringList respostas) : respostas_(std::move(respostas))
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Responde(); });
        timer_.start();
    }

    QStringList mensagens;  // the text of each dialog, in order
    QStringList inesperados;

private:
    void Responde()
    {
        const auto janelas = QApplication::topLevelWidgets();
        for (QWidget* w : janelas) {
            auto* dialogo = qobject_cast<QMessageBox*>(w);
            if (!dialogo || !dialogo->isVisible())
                continue;
            const QList<QAbstractButton*> botoes = dialogo->buttons();
            if (respostas_.isEmpty()) {
                inesperados << dialogo->text();
                mensagens << dialogo->text();
                botoes.value(1)->click();  // the first option; the first button only prompts
                return;
            }
            // The captions are set as the dialog comes up: until the answer's
            // caption is there, wait for the next tick.
            for (QAbstractButton* b : botoes)
                if (b->text() == respostas_.first()) {
                    respostas_.removeFirst();
                    mensagens << dialogo->text();
                    b->click();
                    return;
                }
            return;
        }
    }

    QStringList respostas_;
    QTimer timer_;
};
