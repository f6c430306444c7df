#pragma once
// Uploads the backup archive to an FTP server.
#include "transferencias/SessaoCurl.h"

#include <QByteArray>
#include <QString>

struct PedidoFtp {
    QString host;
    int porta = 21;
    QString usuario;
    QByteArray senha;  // already unscrambled; sent as it is
    QString pasta;     // server folder to change to (one CWD); empty: the log-in folder
    bool ativo = false;  // active data connections (PORT/EPRT); passive otherwise
    QString arquivo;     // local archive; stored under its own file name
    Progresso progresso;
    TemposLimite tempos;
};

// Logs in, changes to the folder, stores the file in binary (TYPE I), replacing a
// file of that name, and asks the server for the stored size (SIZE) to be sure
// nothing was cut short. Returns "; FTP OK" or "; FTP: " + what went wrong (the
// server's reply when it refused a command).
QString EnviaFtp(const PedidoFtp& pedido);
