#pragma once
// The job runner: one gbak command on a worker thread while the window thread
// keeps the window alive, the countdown text and the progress bar moving.
#include "gbak/ComandoGbak.h"

class Barra;
class Rotulo;

// What one gbak run measured.
struct ResultadoGbak {
    int segundos = 0;  // whole seconds the command took
    int saida = 0;     // gbak's exit code, or ProcessoNaoIniciado / ProcessoInterrompido
};

// The state one run of the job runner shares with its two handlers: the worker's
// end notification and the bar's timer tick. Touched on the window thread only.
class TMyClass {
public:
    explicit TMyClass(Barra& gauge) : GaugeAtual(gauge) {}
    void GbakTerminou() { GbakFim = true; }
    // One step of the bar; it never goes past its maximum.
    void AvancaGauge();

    bool GbakFim = false;
    Barra& GaugeAtual;
};

// Runs the command, showing after the label's current text either "Restando: "
// and the time left of `segundosEsperados`, or, once that is used up (or was 0),
// "Medindo: " and the time since the start. The bar is shown for the run and
// given back its visibility after. Blocks on events while waiting: no CPU is
// spent spinning.
ResultadoGbak ExecutaGbak(const ComandoGbak& comando, int segundosEsperados, Rotulo& rotulo, Barra& barra);
