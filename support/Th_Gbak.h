#pragma once
// The worker thread that runs one gbak command line. It only starts the hidden
// child process and waits for it; everything else stays on the window thread.
#include <QString>
#include <QThread>

class TGbak : public QThread {
    Q_OBJECT
public:
    explicit TGbak(QString linhaComando) : linhaComando_(std::move(linhaComando)) {}
    // gbak's exit code once the thread has finished (see ExecutaOcultoComSaida).
    int Saida() const { return saida_; }

protected:
    void run() override;

private:
    QString linhaComando_;
    int saida_ = 0;
};
