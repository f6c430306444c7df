#pragma once
#include <QString>

// Starts a command line hidden and waits for its end, without a time limit. The
// line is split into arguments by the Windows rules and the program is started
// directly, never through a shell, so no character of it is interpreted. True when
// the process could be started.
bool ExecutaOculto(const QString& linhaComando);

// The same, returning the program's exit code, or ProcessoNaoIniciado /
// ProcessoInterrompido (Plataforma.h).
int ExecutaOcultoComSaida(const QString& linhaComando);
