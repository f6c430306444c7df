#pragma once
#include "plataforma/Plataforma.h"

#include <QString>

struct ComandoGbak;

// Starts a command line hidden and waits for its end, without a time limit. The
// line is split into arguments by the Windows rules and the program is started
// directly, never through a shell, so no character of it is interpreted. The
// program named by the first word is looked up in the program's folder, the
// current folder and PATH. True when the process could be started.
bool ExecutaOculto(const QString& linhaComando);

// The same, returning the program's exit code, or ProcessoNaoIniciado /
// ProcessoInterrompido (Plataforma.h).
int ExecutaOcultoComSaida(const QString& linhaComando);

// Runs exactly the program file the command names (no look-up), with the account
// in its environment; returns as ExecutaOcultoComSaida.
int ExecutaGbakOculto(const ComandoGbak& comando);
