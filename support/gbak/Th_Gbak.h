#pragma once
// The worker thread that runs one gbak command. It only starts the hidden child
// process and waits for it; everything else stays on the window thread.
#include "gbak/ComandoGbak.h"

#include <QThread>

class TGbak : public QThread {
    Q_OBJECT
public:
    explicit TGbak(ComandoGbak comando) : comando_(std::move(comando)) {}
    // gbak's exit code once the thread has finished (see ExecutaGbakOculto).
    int Saida() const { return saida_; }

protected:
    void run() override;

private:
    ComandoGbak comando_;
    int saida_ = 0;
};
