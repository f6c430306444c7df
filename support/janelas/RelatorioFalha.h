#pragma once
// The last line of defence: an error that no stage caught is reported (standard
// error, and a dialog when there is a display) and the program ends with a
// failure code instead of hanging with nobody to answer.
#include <QApplication>

class AplicacaoProtegida : public QApplication {
public:
    // QT_QPA_PLATFORM is settled before (see plataforma/Display.h).
    AplicacaoProtegida(int& argc, char** argv);
    // False when Qt runs on its offscreen platform: no dialog can be answered.
    bool temDisplay() const { return temDisplay_; }
    bool notify(QObject* receptor, QEvent* evento) override;

    static void ReportaFalha(const QString& texto);

private:
    bool temDisplay_;
};
