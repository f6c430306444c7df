#pragma once
// The few operating-system services the programs need that Qt does not give
// directly. Everything platform-specific lives behind this header.
#include <QMap>
#include <QString>
#include <QStringList>

// Folder of the running program, ending with a separator.
QString PastaPrograma();

// The platform's folder separator ('/' on POSIX, '\' on Windows).
QChar SeparadorPasta();

// Splits a command line into arguments by the Windows rules: blanks separate,
// double quotes group, backslashes are literal unless they precede a quote.
QStringList DivideLinhaComando(const QString& linha);

// True when the path names a file this process may run.
bool Executavel(const QString& caminho);

// Finds the program named by a command's first word as the original platform
// does: the program's own folder, then the current folder, then PATH. A name with
// a folder part is taken as it is. Empty when nothing executable is found.
QString LocalizaPrograma(const QString& nome);

// What ExecutaProcesso returns besides a program's own exit code.
inline constexpr int ProcessoNaoIniciado = -1;
inline constexpr int ProcessoInterrompido = -2;  // crashed or killed by a signal

// Variables added to (or replacing those of) the caller's environment, for the
// child only.
using AmbienteExtra = QMap<QString, QString>;

// Starts `programa` with `argumentos` directly (never through a shell), with
// standard input, output and error on the null device, and waits for its end
// without a time limit. Returns its exit code, or one of the values above.
int ExecutaProcesso(const QString& programa, const QStringList& argumentos, const AmbienteExtra& ambiente = {});

// True when the file system entry should be treated as hidden (name starting with
// '.', or marked hidden by the platform).
bool EhOculto(const QString& caminho);

// Forces a file's contents to stable storage. False on failure.
bool SincronizaArquivo(const QString& caminho);

// Gives the open file `descritor` the permission bits of the file `modelo`, when
// that exists. Nothing happens where the platform has no such bits.
void CopiaModo(const QString& modelo, int descritor);
