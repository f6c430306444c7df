#include "gbak/ExecutaGbak.h"

#include "gbak/Th_Gbak.h"
#include "plataforma/Controles.h"
#include "plataforma/Tempo.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

void TMyClass::AvancaGauge()
{
    if (GaugeAtual.posicao() < GaugeAtual.maximo())
        GaugeAtual.definePosicao(GaugeAtual.posicao() + 1);
}

ResultadoGbak ExecutaGbak(const ComandoGbak& comando, int segundosEsperados, Rotulo& rotulo, Barra& barra)
{
    TMyClass estado(barra);
    ResultadoGbak resultado;
    // A duration edited by hand may be negative; the bar cannot count below zero.
    const int esperados = segundosEsperados < 0 ? 0 : segundosEsperados;

    auto* thread = new TGbak(comando);
    // Queued onto the window thread: the state is only ever touched there.
    QObject::connect(
        thread, &QThread::finished, QCoreApplication::instance(),
        [thread, &estado, &resultado] {
            resultado.saida = thread->Saida();
            estado.GbakTerminou();
        },
        Qt::QueuedConnection);
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);

    const QString prefixo = rotulo.texto();
    const bool barraVisivel = barra.visivel();

    QTimer timer;
    timer.setInterval(1000);
    QObject::connect(&timer, &QTimer::timeout, [&estado] { estado.AvancaGauge(); });
    timer.start();

    // Its ticks wake the wait once a second so the "Medindo" text keeps counting
    // after the bar's own timer has stopped.
    QTimer relogio;
    relogio.setInterval(1000);
    relogio.start();

    barra.defineVisivel(true);
    barra.definePosicao(0);
    barra.defineMaximo(esperados);

    QElapsedTimer inicio;
    inicio.start();
    thread->start();

    while (!estado.GbakFim) {
        const QString texto = barra.posicao() < esperados
            ? prefixo + QStringLiteral("Restando: ") + FormataTempo(barra.maximo() - barra.posicao())
            : prefixo + QStringLiteral("Medindo: ") + FormataTempo(static_cast<int>(inicio.elapsed() / 1000));
        if (rotulo.texto() != texto)
            rotulo.defineTexto(texto);
        if (barra.posicao() >= barra.maximo())
            timer.stop();
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

    barra.defineVisivel(barraVisivel);
    timer.stop();
    resultado.segundos = static_cast<int>(inicio.elapsed() / 1000);
    return resultado;
}
