#pragma once
// The worker thread that runs one gbak command line. It only starts the hidden
// child process and waits for it; everything else stays on the window thread.
#include <QString>
#include <QThread>

class TGbak : public QThread {
    Q_OBJECT
public:
    explicit TGbak(QString linhaComando) : linhaComando_(std::move(linhaComando)) {}

protected:
    void run() override;

private:
    QString linhaComando_;
};
