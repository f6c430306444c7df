#pragma once
// The last line of defence: an error that no stage caught is reported (standard
// error, and a dialog when there is a display) and the program ends with a
// failure code instead of hanging with nobody to answer.
#include <QApplication>

class AplicacaoProtegida : public QApplication {
public:
    AplicacaoProtegida(int& argc, char** argv, bool temDisplay);
    bool notify(QObject* receptor, QEvent* evento) override;

    static void ReportaFalha(const QString& texto);

private:
    bool temDisplay_;
};

// True when a window system is reachable. Without one the programs run on Qt's
// offscreen platform and show no dialogs.
bool HaDisplay();
