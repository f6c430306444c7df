#include "Un_Principal.h"
#include "janelas/RelatorioFalha.h"
#include "plataforma/Display.h"

#include <QIcon>

int main(int argc, char** argv)
{
    // A display that is gone would make Qt abort while it loads its platform.
    if (const QByteArray plataforma = PlataformaQt(AmbienteDoProcesso()); !plataforma.isEmpty())
        qputenv("QT_QPA_PLATFORM", plataforma);
    AplicacaoProtegida app(argc, argv);
    // Only the name: a display name would be appended to every window title.
    QApplication::setApplicationName(QStringLiteral("Zozedad Backup"));
    // Desktops that name no icon theme still get the pictures of an installed one.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));

    TFm_Principal Fm_Principal;
    Fm_Principal.show();
    return app.exec();
}
