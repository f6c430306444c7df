#include "janelas/Confirma.h"
#include "Fm_Executa.h"
#include "janelas/RelatorioFalha.h"

#include <QMetaObject>

int main(int argc, char** argv)
{
    const bool temDisplay = HaDisplay();
    // Started by a scheduler on a server: no window system, no one to answer.
    if (!temDisplay)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    AplicacaoProtegida app(argc, argv, temDisplay);
    QApplication::setApplicationName(QStringLiteral("Vaultrun"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vaultrun"));
    DefineTopoExecutor(true);

    TFm_Executa Fm_Executa(!temDisplay);
    Fm_Executa.show();
    // The run starts on the first activation; where the platform never activates
    // the window (offscreen), this queued call starts it instead.
    QMetaObject::invokeMethod(&Fm_Executa, &TFm_Executa::FormActivate, Qt::QueuedConnection);
    return app.exec();
}
