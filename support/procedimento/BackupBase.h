#pragma once
// The backup procedure: one gbak backup of the database, checked by its report,
// optionally proved by a test restore, compressed into a ZIP archive that ends up
// in the destination folder, and the folder's older archives of this database
// pruned. The outcome is the message: empty on success, otherwise the Portuguese
// sentence for the run log.
#include <QByteArray>
#include <QString>

class Barra;
class Memo;
class Rotulo;

struct PedidoBackup {
    Memo& memo;             // holds the last gbak report read
    QString sistema;        // tag of the measured durations; empty: do not measure
    QString gbak;           // the gbak program file that runs
    QByteArray senha;       // the administrator's password, in clear
    QString host;           // server prefix, e.g. "localhost:"
    QString origem;         // database path as the server sees it
    QString arqBackup;      // backup file name, without folder
    QString pastaLog;       // folder as the server sees it (L), may be empty
    QString pastaDestino;   // destination folder (D), may be empty
    QString pastaRede;      // same folder as L through a share (R), may be empty
    QString arqLog;         // gbak report name, without folder; may be empty
    Rotulo& rotulo;
    Barra& barra;
    bool restaura = true;   // prove the backup by a test restore
    bool servico = true;    // gbak works through the server's service manager
    bool compacta = true;
    int copias = 0;         // archives of this database to keep; <= 0 keeps all
};

QString BackupBase(const PedidoBackup& pedido);
