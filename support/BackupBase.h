#pragma once
// The backup procedure: one gbak backup of the database, checked by its report,
// optionally proved by a test restore, compressed into a ZIP archive that ends up
// in the destination folder, and the folder's older archives pruned. The outcome
// is `mensagem`: empty on success, otherwise the Portuguese sentence for the log.
#include <QString>

class Barra;
class Memo;
class Rotulo;

void BackupBase(Memo& memo,
                const QString& sistema,       // tag of the measured durations; empty: do not measure
                const QString& host,          // server prefix, e.g. "localhost:"
                const QString& origem,        // database path as the server sees it
                const QString& arqBackup,     // backup file name, without folder
                const QString& pastaLog,      // folder as the server sees it (L), may be empty
                const QString& pastaDestino,  // destination folder (D), may be empty
                const QString& pastaRede,     // same folder as L through a share (R), may be empty
                const QString& arqLog,        // gbak report name, without folder; may be empty
                Rotulo& rotulo,
                Barra& barra,
                bool restaura,
                bool servico,
                bool compacta,
                int copias,
                QString& mensagem);

// The gbak administrator account every command line uses.
inline constexpr const char* ContaGbak = "-user sysdba -password bluefjord ";
