// Whether a window system is there, decided before Qt loads its platform: by
// what really accepts a connection, not by what the environment names.
#include "apoio/Arquivos.h"
#include "apoio/Soquetes.h"
#include "plataforma/Display.h"

#include <gtest/gtest.h>

namespace {

TEST(Display, PlataformaPeloQueRespondeDeFato)
{
    QTemporaryDir dir;
    const auto local = OuvinteFalso::X11Local(700);
    const auto tcp = OuvinteFalso::X11Tcp(720);
    const QString runtime = PastaTeste(dir, QStringLiteral("run"));
    const auto wayland = OuvinteFalso::Arquivo(runtime + QStringLiteral("/wayland-7"));
    ASSERT_TRUE(local->ok() && tcp->ok() && wayland->ok());
    const int livre = DisplayLivre(740);
    ASSERT_GE(livre, 0);
    const QString semServidor = QStringLiteral(":%1").arg(livre);
    const QString comLocal = QStringLiteral(":%1").arg(local->numero());

    const struct {
        const char* nome;
        AmbienteDisplay ambiente;
        QByteArray plataforma;
    } casos[] = {
        {"nada", {}, "offscreen"},
        {"display sem servidor", {.x11 = semServidor}, "offscreen"},
        {"display sem servidor, com tela", {.x11 = semServidor + QStringLiteral(".0")}, "offscreen"},
        {"tcp sem servidor", {.x11 = QStringLiteral("localhost:%1").arg(livre)}, "offscreen"},
        {"display local", {.x11 = comLocal}, "xcb;offscreen"},
        {"display local com tela", {.x11 = comLocal + QStringLiteral(".0")}, "xcb;offscreen"},
        {"display unix:", {.x11 = QStringLiteral("unix") + comLocal}, "xcb;offscreen"},
        {"display tcp", {.x11 = QStringLiteral("localhost:%1").arg(tcp->numero())}, "xcb;offscreen"},
        {"display tcp por endereço", {.x11 = QStringLiteral("127.0.0.1:%1.0").arg(tcp->numero())}, "xcb;offscreen"},
        {"display malformado", {.x11 = QStringLiteral("localhost")}, "offscreen"},
        {"display sem número", {.x11 = QStringLiteral(":x")}, "offscreen"},
        {"wayland", {.wayland = QStringLiteral("wayland-7"), .runtime = runtime}, "wayland;offscreen"},
        {"wayland por caminho", {.wayland = runtime + QStringLiteral("/wayland-7")}, "wayland;offscreen"},
        {"wayland ausente", {.wayland = QStringLiteral("wayland-8"), .runtime = runtime}, "offscreen"},
        {"wayland sem pasta", {.wayland = QStringLiteral("wayland-7")}, "offscreen"},
        {"os dois", {.x11 = comLocal, .wayland = QStringLiteral("wayland-7"), .runtime = runtime}, "xcb;wayland;offscreen"},
        {"x antigo, wayland vivo", {.x11 = semServidor, .wayland = QStringLiteral("wayland-7"), .runtime = runtime}, "wayland;offscreen"},
        // A choice made explicitly stands, with the fallback behind it.
        {"escolhido offscreen", {.plataforma = QStringLiteral("offscreen"), .x11 = comLocal}, "offscreen"},
        {"escolhido xcb", {.plataforma = QStringLiteral("xcb"), .x11 = semServidor}, "xcb;offscreen"},
        {"escolhido com fallback", {.plataforma = QStringLiteral("xcb;offscreen")}, "xcb;offscreen"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(PlataformaQt(c.ambiente), c.plataforma) << c.nome;
}

}
