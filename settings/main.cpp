#include "Un_Principal.h"
#include "janelas/RelatorioFalha.h"

#include <QIcon>

int main(int argc, char** argv)
{
    AplicacaoProtegida app(argc, argv, HaDisplay());
    QApplication::setApplicationName(QStringLiteral("Zozedad"));
    QApplication::setApplicationDisplayName(QStringLiteral("Zozedad Backup"));
    // Desktops that name no icon theme still get the pictures of an installed one.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));

    TFm_Principal Fm_Principal;
    Fm_Principal.show();
    return app.exec();
}
