#pragma once
// The job runner: one gbak command on a worker thread while the window thread
// keeps the window alive, the countdown text and the progress bar moving.
#include <QString>

class Barra;
class Rotulo;

// Shared state of the job runner, touched on the window thread only.
extern bool GbakFim;        // the current worker thread has ended
extern Barra* GaugeAtual;   // the bar the job runner and its timer drive
extern int GbakSaida;       // exit code of the last gbak run (ExecutaOcultoComSaida)

// Handlers without an instance: the worker's end notification and the timer tick.
class TMyClass {
public:
    static void GbakTerminou();
    static void AvancaGauge();
};

// Runs the command line, showing after the label's current text either
// "Restando: " and the time left of `segundosEsperados`, or, once that is used up
// (or was 0), "Medindo: " and the time since the start. Returns the whole seconds
// the command took. Blocks on events while waiting: no CPU is spent spinning.
int ExecutaGbak(const QString& linhaComando, int segundosEsperados, Rotulo& rotulo);
