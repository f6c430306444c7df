#include "TravaExecucao.h"

#include <QDir>

TravaExecucao::TravaExecucao(const QString& pastaPrograma)
    : trava_(QDir(pastaPrograma).filePath(QStringLiteral(".Vaultrun.lock")))
{
    // A run may last hours: only a lock whose process is gone counts as stale,
    // never one that is merely old.
    trava_.setStaleLockTime(0);
}

bool TravaExecucao::adquire() { return trava_.tryLock(0); }
