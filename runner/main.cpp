#include "janelas/Confirma.h"
#include "Fm_Executa.h"
#include "janelas/RelatorioFalha.h"
#include "plataforma/Display.h"

#include <QMetaObject>

int main(int argc, char** argv)
{
    // Started by a scheduler on a server, or with a display that is gone: no
    // window system, no one to answer. Decided before Qt loads its platform, which
    // would abort on an unreachable display.
    if (const QByteArray plataforma = PlataformaQt(AmbienteDoProcesso()); !plataforma.isEmpty())
        qputenv("QT_QPA_PLATFORM", plataforma);
    AplicacaoProtegida app(argc, argv);
    const bool temDisplay = app.temDisplay();
    // Only the name: a display name would be appended to every window title.
    QApplication::setApplicationName(QStringLiteral("Vaultrun"));
    DefineTopoExecutor(true);

    TFm_Executa Fm_Executa(!temDisplay);
    Fm_Executa.show();
    // The run starts on the first activation; where the platform never activates
    // the window (offscreen), this queued call starts it instead.
    QMetaObject::invokeMethod(&Fm_Executa, &TFm_Executa::FormActivate, Qt::QueuedConnection);
    return app.exec();
}
