#include "janelas/RelatorioFalha.h"

#include "plataforma/Erro.h"

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

bool HaDisplay()
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return true;
#else
    if (qEnvironmentVariable("QT_QPA_PLATFORM") == QStringLiteral("offscreen"))
        return false;
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#endif
}

AplicacaoProtegida::AplicacaoProtegida(int& argc, char** argv, bool temDisplay)
    : QApplication(argc, argv), temDisplay_(temDisplay)
{
    displayDisponivel() = temDisplay;
}

void AplicacaoProtegida::ReportaFalha(const QString& texto)
{
    std::fprintf(stderr, "Erro inesperado: %s\n", texto.toLocal8Bit().constData());
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
        ReportaFalha(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        ReportaFalha(QStringLiteral("erro desconhecido"));
    }
    std::exit(3);
}
