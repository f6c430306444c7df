#pragma once
// One run at a time per installation: two runs started together (a slow night and
// the next scheduled start, or an operator starting one by hand) would write the
// same file names. A lock file in the program's folder says a run is in progress;
// the system releases it when the run ends, and a lock left by a run that crashed
// is taken over (its process is gone).
#include <QLockFile>
#include <QString>

class TravaExecucao {
public:
    explicit TravaExecucao(const QString& pastaPrograma);
    // True when this run now holds the lock.
    bool adquire();

private:
    QLockFile trava_;
};

inline const QString MensagemOutraExecucao = QStringLiteral("Outra execução do backup está em andamento.");
