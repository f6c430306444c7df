// Pictures of Zozedad's windows for the README, taken from the real windows
// (QWidget::grab). Usage: ZozedadCapturas <folder>; run under any Qt platform,
// offscreen included.
#include "Un_Principal.h"
#include "Un_Recupera.h"
#include "janelas/TFilenameEdit.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

namespace {

// A plausible setup, so the pictures show filled boxes.
Configuracao Exemplo()
{
    Configuracao c;
    c.GBAK = QStringLiteral("/usr/bin/gbak");
    c.Host = QStringLiteral("localhost:");
    c.Origem = QStringLiteral("/srv/dados/BASE.FDB");
    c.SYSDBAPass = "masterkey";
    c.Destino = QStringLiteral("/srv/backup/");
    c.Copias = 30;
    c.EmailSMTP = QStringLiteral("smtp.exemplo.com.br");
    c.EmailUser = QStringLiteral("backup@exemplo.com.br");
    c.EmailPass = "segredo";
    c.EmailFrom = QStringLiteral("backup@exemplo.com.br");
    c.EmailDest = QStringLiteral("ti@exemplo.com.br");
    c.EmailAssu = QStringLiteral("Backup diário");
    c.FTPHost = QStringLiteral("ftp.exemplo.com.br");
    c.FTPUser = QStringLiteral("backup");
    c.FTPPass = "segredo";
    c.FTPDir = QStringLiteral("/copias");
    return c;
}

bool Salva(QWidget* janela, const QString& arquivo)
{
    QCoreApplication::processEvents();
    const bool ok = janela->grab().save(arquivo, "PNG");
    std::printf("%s %s\n", ok ? "gravado" : "FALHOU", qPrintable(arquivo));
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "uso: ZozedadCapturas <pasta>\n");
        return 2;
    }
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    const QDir destino(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(destino.path());

    QTemporaryDir pasta;
    const QString config = pasta.filePath(QStringLiteral("CONFIG.ini"));
    Configuracao exemplo = Exemplo();
    GravaConfiguracao(config, exemplo);

    TFm_Principal principal(config, pasta.path() + QLatin1Char('/'));
    principal.show();
    bool ok = true;
    const char* nomes[] = {"zozedad-detalhes.png", "zozedad-email.png", "zozedad-ftp.png"};
    for (int aba = 0; aba < 3; ++aba) {
        principal.PageControl1->setCurrentIndex(aba);
        ok &= Salva(&principal, destino.filePath(QLatin1String(nomes[aba])));
    }
    principal.Fm_Recupera->show();
    principal.Fm_Recupera->FeBackup->setText(QStringLiteral("/srv/backup/BASE-25-12-2023-0930.bkp.zip"));
    ok &= Salva(principal.Fm_Recupera, destino.filePath(QStringLiteral("zozedad-recupera.png")));
    return ok ? 0 : 1;
}
