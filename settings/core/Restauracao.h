#pragma once
// The restore of the database from a backup file or a runner's ZIP archive,
// without any window.
//
// The existing database is never put at risk by a backup that does not restore:
// gbak first restores the backup into a scratch database beside it, and only when
// that succeeded does a second run replace the database. Every run is judged by
// gbak's exit code and its report together.
#include "gbak/ComandoGbak.h"

#include <QByteArray>
#include <QString>

#include <functional>

struct PedidoRestauracao {
    QString gbak;          // the gbak file; empty: "gbak" is looked up by name
    QByteArray senha;      // the administrator's password, in clear
    QString backup;        // backup file or ZIP archive, as typed (quotes are dropped)
    QString host;          // server prefix joined straight to the database path
    QString banco;         // the database as the server sees it
    bool correcaoVersao = false;  // the correction for moving from 2.1 to 2.5
    QString pastaPrograma;        // holds restore.log and the scratch folder Restaura
    // Shown before each stage ("[ Descompactando arquivo ]", ...).
    std::function<void(const QString&)> etapa;
};

struct ResultadoRestauracao {
    bool restaurado = false;
    // What the user reads on failure: gbak's report, and a clear sentence when the
    // failure is one the report cannot tell (gbak missing, exit code, bad archive).
    QByteArray relatorio;
};

// The scratch database that proves the backup: beside the database.
QString BancoProvisorio(const QString& banco);

// The gbak command that restores `backup` into host + `banco`, report into
// `relatorio`; paths are quoted where they hold blanks.
ComandoGbak ComandoRestauracao(const PedidoRestauracao& pedido, const QString& backup, const QString& banco,
                               const QString& relatorio);

// The gbak file the restore runs: the setting, or "gbak" found by name when it is
// empty. Empty when none can be found.
QString ProgramaGbak(const QString& gbak);

ResultadoRestauracao Restaura(const PedidoRestauracao& pedido);
