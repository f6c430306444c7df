#include "ExecutaGbak.h"

#include "Controles.h"
#include "Tempo.h"
#include "Th_Gbak.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

bool GbakFim = false;
Barra* GaugeAtual = nullptr;
int GbakSaida = 0;

void TMyClass::GbakTerminou() { GbakFim = true; }

void TMyClass::AvancaGauge()
{
    if (GaugeAtual && GaugeAtual->posicao() < GaugeAtual->maximo())
        GaugeAtual->definePosicao(GaugeAtual->posicao() + 1);
}

int ExecutaGbak(const QString& linhaComando, int segundosEsperados, Rotulo& rotulo)
{
    GbakFim = false;
    // A duration edited by hand may be negative; the bar cannot count below zero.
    const int esperados = segundosEsperados < 0 ? 0 : segundosEsperados;

    auto* thread = new TGbak(linhaComando);
    // Queued onto the window thread: the flag is only ever touched there.
    QObject::connect(
        thread, &QThread::finished, QCoreApplication::instance(),
        [thread] {
            GbakSaida = thread->Saida();
            TMyClass::GbakTerminou();
        },
        Qt::QueuedConnection);
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);

    const QString prefixo = rotulo.texto();
    const bool barraVisivel = GaugeAtual ? GaugeAtual->visivel() : false;

    QTimer timer;
    timer.setInterval(1000);
    QObject::connect(&timer, &QTimer::timeout, [] { TMyClass::AvancaGauge(); });
    timer.start();

    // Its ticks wake the wait once a second so the "Medindo" text keeps counting
    // after the bar's own timer has stopped.
    QTimer relogio;
    relogio.setInterval(1000);
    relogio.start();

    BarraMemoria semBarra;
    Barra& barra = GaugeAtual ? *GaugeAtual : semBarra;
    barra.defineVisivel(true);
    barra.definePosicao(0);
    barra.defineMaximo(esperados);

    QElapsedTimer inicio;
    inicio.start();
    thread->start();

    while (!GbakFim) {
        const QString texto = barra.posicao() < esperados
            ? prefixo + QStringLiteral("Restando: ") + FormataTempo(barra.maximo() - barra.posicao())
            : prefixo + QStringLiteral("Medindo: ") + FormataTempo(static_cast<int>(inicio.elapsed() / 1000));
        if (rotulo.texto() != texto)
            rotulo.defineTexto(texto);
        if (barra.posicao() >= barra.maximo())
            timer.stop();
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

    GbakFim = false;
    barra.defineVisivel(barraVisivel);
    timer.stop();
    return static_cast<int>(inicio.elapsed() / 1000);
}
