#pragma once
// The runner's decisions, kept apart from its window so they can be tested alone.
#include <QDateTime>
#include <QString>

struct Configuracao;

// Base name of a run's files: database name + "-dd-mm-yyyy-hhnn".
QString NomeBaseExecucao(const QString& origem, const QDateTime& momento);

// The settings a run uses: folders completed with their final separator and
// relative ones taken from the program's folder.
Configuracao ConfiguracaoDaExecucao(const QString& arquivo, const QString& pastaPrograma);

// The checks made before a backup, in order; the first that fails gives its
// message, empty when all pass.
QString VerificaConfiguracao(const Configuracao& cfg);

// The run failed when the message is not empty or a transfer stage left a status
// other than its OK text.
bool ExecucaoFalhou(const QString& mensagem, const QString& statusFTP, const QString& statusEmail);

// The outcome text of the run log line (begins with a blank).
QString TextoResultado(const QString& mensagem, const QString& statusFTP, const QString& statusEmail,
                       const QDateTime& inicio);

// The text of the failure alert.
QString TextoAlerta(const QString& mensagem, const QString& statusFTP, const QString& statusEmail);

// Appends "<now in c format> - Base <outcome>" and CR LF to the run log, creating
// it when missing. Throws Erro when the file cannot be opened or written.
void AcrescentaRegistro(const QString& arquivo, const QDateTime& agora, const QString& resultado);
