#pragma once
// The real Firebird server and gbak.
#include <QString>

// Opens a folder (and the scratch folder above it) to the Firebird server's user,
// which writes backups and logs when the service manager does the work.
void AbreParaServidor(const QString& pasta);

// Creates a database with `linhas` rows in table CLIENTES.
void CriaBanco(const QString& caminho, int linhas);
// Rows of CLIENTES, or -1 when the database cannot be read.
int ContaClientes(const QString& banco);
// Restores a backup with the real gbak into a new database; true on success.
bool RestauraBackup(const QString& backup, const QString& banco);
// Runs SQL on a database through isql; true on success.
bool ExecutaSql(const QString& banco, const QByteArray& sql);
