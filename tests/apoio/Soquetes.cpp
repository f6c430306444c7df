#include "apoio/Soquetes.h"

#include <QFile>
#include <cstddef>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

int Escuta(const sockaddr* endereco, socklen_t tamanho)
{
    const int fd = ::socket(endereco->sa_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (endereco->sa_family == AF_INET) {
        const int sim = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &sim, sizeof sim);
    }
    if (::bind(fd, endereco, tamanho) != 0 || ::listen(fd, 8) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

int EscutaLocal(const QByteArray& caminho, bool abstrato)
{
    sockaddr_un e{};
    e.sun_family = AF_UNIX;
    const size_t inicio = abstrato ? 1 : 0;
    std::memcpy(e.sun_path + inicio, caminho.constData(), size_t(caminho.size()));
    return Escuta(reinterpret_cast<const sockaddr*>(&e),
                  socklen_t(offsetof(sockaddr_un, sun_path) + inicio + size_t(caminho.size()) + (abstrato ? 0 : 1)));
}

int EscutaTcp(int porta)
{
    sockaddr_in e{};
    e.sin_family = AF_INET;
    e.sin_port = htons(uint16_t(porta));
    e.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return Escuta(reinterpret_cast<const sockaddr*>(&e), sizeof e);
}

QByteArray CaminhoX11(int n) { return "/tmp/.X11-unix/X" + QByteArray::number(n); }

}

OuvinteFalso::OuvinteFalso(int fd, int numero) : fd_(fd), numero_(numero)
{
    if (fd_ < 0)
        return;
    aceita_ = std::thread([this] {
        while (!fim_) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 50) == 1) {
                const int c = ::accept(fd_, nullptr, nullptr);
                if (c >= 0)
                    ::close(c);
            }
        }
    });
}

OuvinteFalso::~OuvinteFalso()
{
    fim_ = true;
    if (aceita_.joinable())
        aceita_.join();
    if (fd_ >= 0)
        ::close(fd_);
}

std::unique_ptr<OuvinteFalso> OuvinteFalso::X11Local(int desde)
{
    for (int n = desde; n < desde + 200; ++n)
        if (!QFile::exists(QString::fromLatin1(CaminhoX11(n))))
            if (const int fd = EscutaLocal(CaminhoX11(n), true); fd >= 0)
                return std::make_unique<OuvinteFalso>(fd, n);
    return std::make_unique<OuvinteFalso>(-1, -1);
}

std::unique_ptr<OuvinteFalso> OuvinteFalso::X11Tcp(int desde)
{
    for (int n = desde; n < desde + 200; ++n)
        if (const int fd = EscutaTcp(6000 + n); fd >= 0)
            return std::make_unique<OuvinteFalso>(fd, n);
    return std::make_unique<OuvinteFalso>(-1, -1);
}

std::unique_ptr<OuvinteFalso> OuvinteFalso::Arquivo(const QString& caminho)
{
    return std::make_unique<OuvinteFalso>(EscutaLocal(caminho.toUtf8(), false), 0);
}

int DisplayLivre(int desde)
{
    for (int n = desde; n < desde + 200; ++n) {
        if (QFile::exists(QString::fromLatin1(CaminhoX11(n))))
            continue;
        const int local = EscutaLocal(CaminhoX11(n), true);
        const int tcp = EscutaTcp(6000 + n);
        const bool livre = local >= 0 && tcp >= 0;
        if (local >= 0)
            ::close(local);
        if (tcp >= 0)
            ::close(tcp);
        if (livre)
            return n;
    }
    return -1;
}
