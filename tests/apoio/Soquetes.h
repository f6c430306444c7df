#pragma once
// Listening sockets that stand where a display server would: something that
// accepts connections and closes them at once, as a dead SSH tunnel does, but
// never speaks the X or Wayland protocol.
#include <QByteArray>
#include <QString>
#include <atomic>
#include <memory>
#include <thread>

class OuvinteFalso {
public:
    // A local X display ":n" on Linux's abstract socket; n is the first free
    // number from `desde`.
    static std::unique_ptr<OuvinteFalso> X11Local(int desde);
    // A TCP display "localhost:n": port 6000+n on the loopback address.
    static std::unique_ptr<OuvinteFalso> X11Tcp(int desde);
    // A socket file at `caminho` (a Wayland compositor's).
    static std::unique_ptr<OuvinteFalso> Arquivo(const QString& caminho);

    // Owns `fd`, a listening socket (or -1).
    OuvinteFalso(int fd, int numero);
    ~OuvinteFalso();
    OuvinteFalso(const OuvinteFalso&) = delete;
    OuvinteFalso& operator=(const OuvinteFalso&) = delete;
    bool ok() const { return fd_ >= 0; }
    int numero() const { return numero_; }  // the display number

private:
    int fd_;
    int numero_;
    std::atomic<bool> fim_{false};
    std::thread aceita_;
};

// A display number with no server behind it on either the abstract socket, the
// socket file or TCP.
int DisplayLivre(int desde);
