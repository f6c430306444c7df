#pragma once
// The test restore: the fresh backup is restored by gbak into a scratch database
// beside it; a missing report, a report with an error line, a failed gbak, or a
// restore that does not hold what the backup report says was written (a table, a
// count, an index, the database left offline) fails the run. Every way out of the stage either passed those checks or fails
// the run, and the scratch database never stays behind.
#include <QByteArray>
#include <QString>

class Barra;
class Duracoes;
class Memo;
class Rotulo;
struct PapeisPastas;

// The pieces of the backup's command line that the restore reuses.
struct PecasComando {
    QString log;      // "-v -y <report>" or empty
    QString servico;  // "-se <host>service_mgr" or empty
    QString banco;    // the database
    QString backup;   // the backup file
};

struct EtapaRestauracao {
    const PapeisPastas& papeis;
    const PecasComando& pecas;
    QString gbak;       // the gbak program file
    QByteArray senha;   // the administrator's password, in clear
    QString arqBackup;
    QString arqLog;
    const QByteArray& relatorioBackup;  // the backup's report, read before the restore replaced it
    const Duracoes& duracoes;
    Rotulo& rotulo;
    Barra& barra;
    Memo& memo;
};

// Runs the stage; returns the message, empty when the restore passed.
QString TesteRestauracao(const EtapaRestauracao& etapa);

// The scratch database's name for a backup file name.
QString ArquivoTeste(const QString& arqBackup);
