#include "plataforma/Display.h"

#include <QStringList>

#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

AmbienteDisplay AmbienteDoProcesso()
{
    return {qEnvironmentVariable("QT_QPA_PLATFORM"), qEnvironmentVariable("DISPLAY"),
            qEnvironmentVariable("WAYLAND_DISPLAY"), qEnvironmentVariable("XDG_RUNTIME_DIR")};
}

#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)

QByteArray PlataformaQt(const AmbienteDisplay&) { return {}; }
bool X11Responde(const QString&, int) { return false; }
bool WaylandResponde(const QString&, const QString&) { return false; }

#else

namespace {

// Closes the descriptor whatever way the attempt ends.
class Soquete {
public:
    explicit Soquete(int fd) : fd_(fd) {}
    ~Soquete()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Soquete(const Soquete&) = delete;
    Soquete& operator=(const Soquete&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

// A non-blocking connect that waits at most `esperaMs` for the other side.
bool Conecta(int familia, const sockaddr* endereco, socklen_t tamanho, int esperaMs)
{
    const Soquete s(::socket(familia, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (s.fd() < 0)
        return false;
    if (::connect(s.fd(), endereco, tamanho) == 0)
        return true;
    if (errno != EINPROGRESS)
        return false;
    pollfd p{s.fd(), POLLOUT, 0};
    if (::poll(&p, 1, esperaMs) != 1)
        return false;
    int erro = 0;
    socklen_t n = sizeof erro;
    return ::getsockopt(s.fd(), SOL_SOCKET, SO_ERROR, &erro, &n) == 0 && erro == 0;
}

// `abstrato`: Linux's abstract namespace, where X servers listen besides the
// file in /tmp/.X11-unix (which a cleaned /tmp may have lost).
bool ConectaLocal(const QByteArray& caminho, bool abstrato)
{
    sockaddr_un endereco{};
    endereco.sun_family = AF_UNIX;
    const qsizetype inicio = abstrato ? 1 : 0;
    if (caminho.isEmpty() || inicio + caminho.size() >= qsizetype(sizeof endereco.sun_path))
        return false;
    std::memcpy(endereco.sun_path + inicio, caminho.constData(), size_t(caminho.size()));
    const auto tamanho = socklen_t(offsetof(sockaddr_un, sun_path) + inicio + caminho.size() + (abstrato ? 0 : 1));
    return Conecta(AF_UNIX, reinterpret_cast<const sockaddr*>(&endereco), tamanho, 0);
}

bool ConectaTcp(const QByteArray& host, int porta, int esperaMs)
{
    addrinfo pedido{};
    pedido.ai_family = AF_UNSPEC;
    pedido.ai_socktype = SOCK_STREAM;
    addrinfo* lista = nullptr;
    if (::getaddrinfo(host.constData(), QByteArray::number(porta).constData(), &pedido, &lista) != 0)
        return false;
    bool ok = false;
    for (const addrinfo* a = lista; a && !ok; a = a->ai_next)
        ok = Conecta(a->ai_family, a->ai_addr, a->ai_addrlen, esperaMs);
    ::freeaddrinfo(lista);
    return ok;
}

}

bool X11Responde(const QString& display, int esperaMs)
{
    const qsizetype doisPontos = display.lastIndexOf(QLatin1Char(':'));
    if (doisPontos < 0)
        return false;
    QString host = display.left(doisPontos);
    const QString resto = display.mid(doisPontos + 1);
    bool ok = false;
    const int numero = resto.section(QLatin1Char('.'), 0, 0).toInt(&ok);
    if (!ok || numero < 0)
        return false;
    if (host.endsWith(QStringLiteral("/unix")))
        host.clear();
    if (host.isEmpty() || host == QStringLiteral("unix")) {
        const QByteArray caminho = "/tmp/.X11-unix/X" + QByteArray::number(numero);
        return ConectaLocal(caminho, true) || ConectaLocal(caminho, false);
    }
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    return ConectaTcp(host.toUtf8(), 6000 + numero, esperaMs);
}

bool WaylandResponde(const QString& nome, const QString& runtime)
{
    const QString n = nome.isEmpty() ? QStringLiteral("wayland-0") : nome;
    if (n.startsWith(QLatin1Char('/')))
        return ConectaLocal(n.toUtf8(), false);
    if (runtime.isEmpty())
        return false;
    return ConectaLocal((runtime + QLatin1Char('/') + n).toUtf8(), false);
}

QByteArray PlataformaQt(const AmbienteDisplay& a)
{
    const QByteArray fallback = "offscreen";
    if (!a.plataforma.isEmpty()) {
        // An explicit choice is kept, with the fallback behind it.
        if (a.plataforma.split(QLatin1Char(';')).contains(QStringLiteral("offscreen")))
            return a.plataforma.toUtf8();
        return a.plataforma.toUtf8() + ';' + fallback;
    }
    QByteArray lista;
    // Qt's own order: the X server first; a Wayland compositor is used when it
    // is the only one there (and Qt's Wayland plugin is installed).
    if (!a.x11.isEmpty() && X11Responde(a.x11, a.esperaMs))
        lista += "xcb;";
    if (!a.wayland.isEmpty() && WaylandResponde(a.wayland, a.runtime))
        lista += "wayland;";
    return lista + fallback;
}

#endif
