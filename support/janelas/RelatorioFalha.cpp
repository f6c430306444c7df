#include "janelas/RelatorioFalha.h"

#include "plataforma/Erro.h"
#include "plataforma/TextoLocal.h"

#include <QMessageBox>
#include <cstdio>
#include <cstdlib>

namespace {
bool& displayDisponivel()
{
    static bool d = false;
    return d;
}
}

AplicacaoProtegida::AplicacaoProtegida(int& argc, char** argv)
    : QApplication(argc, argv),
      // Qt has settled on its platform by now: the offscreen one, chosen or fallen
      // back to, means no one can see a window.
      temDisplay_(QGuiApplication::platformName() != QStringLiteral("offscreen"))
{
    displayDisponivel() = temDisplay_;
}

void AplicacaoProtegida::ReportaFalha(const QString& texto)
{
    std::fprintf(stderr, "Erro inesperado: %s\n", ParaTextoLocal(texto).constData());
    std::fflush(stderr);
    if (displayDisponivel())
        QMessageBox::critical(nullptr, QStringLiteral("Erro inesperado"), texto);
}

bool AplicacaoProtegida::notify(QObject* receptor, QEvent* evento)
{
    try {
        return QApplication::notify(receptor, evento);
    } catch (const Erro& e) {
        ReportaFalha(e.texto());
    } catch (const std::exception& e) {
        ReportaFalha(DeTextoLocal(e.what()));
    } catch (...) {
        ReportaFalha(QStringLiteral("erro desconhecido"));
    }
    std::exit(3);
}
