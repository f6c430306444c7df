// The connectivity check, inside a network namespace of its own where the test
// decides which interfaces exist (needs the right to create namespaces; skipped
// where it is missing).
#include "transferencias/Conexao.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
enum Resposta { Conectado = 10, Desconectado = 11, SemNamespace = 12 };

// Asks ConectadoInternet in a child process placed in a new, empty network
// namespace after `preparo` (ip commands) has shaped it.
int PerguntaEmNamespace(const char* preparo)
{
    const pid_t filho = fork();
    if (filho == 0) {
        if (unshare(CLONE_NEWNET) != 0 || std::system(preparo) != 0)
            _exit(SemNamespace);
        _exit(ConectadoInternet() ? Conectado : Desconectado);
    }
    int estado = 0;
    waitpid(filho, &estado, 0);
    return WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
}

// The carrier of a fresh link comes up a moment after the link does.
#define EsperaPortadora \
    "for i in $(seq 100); do ip link show v0 | grep -q LOWER_UP && exit 0; sleep 0.05; done; exit 1"

TEST(ConectadoInternet, SoConectadoComInterfaceDeRedeAtivaComEndereco)
{
    const struct {
        const char* caso;
        const char* preparo;
        Resposta esperado;
    } casos[] = {
        {"loopback only, up", "ip link set lo up", Desconectado},
        {"a link up and running with an address",
         "ip link set lo up && ip link add v0 type veth peer name v1 && ip addr add 10.9.9.9/24 dev v0 && "
         "ip link set v1 up && ip link set v0 up && " EsperaPortadora,
         Conectado},
        {"a link with an address, but down",
         "ip link set lo up && ip link add v0 type veth peer name v1 && ip addr add 10.9.9.9/24 dev v0", Desconectado},
        {"a link up whose other end is down (not running)",
         "ip link add v0 type veth peer name v1 && ip addr add 10.9.9.9/24 dev v0 && ip link set v0 up", Desconectado},
    };
    for (const auto& c : casos) {
        const int r = PerguntaEmNamespace(c.preparo);
        if (r == SemNamespace)
            GTEST_SKIP() << "no network namespaces here";
        EXPECT_EQ(r, c.esperado) << c.caso;
    }
}
}
