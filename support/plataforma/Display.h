#pragma once
// Whether a window system is really there. A DISPLAY left over from a desktop
// session (sudo -E, a systemd unit that imported the environment) names a server
// that is gone, and Qt aborts while it loads its platform: the run would never
// happen. The address is tried with a plain socket before the application exists,
// so no X or Wayland library is linked.
#include <QByteArray>
#include <QString>

struct AmbienteDisplay {
    QString plataforma = {};  // QT_QPA_PLATFORM as given; empty: Qt's own choice
    QString x11 = {};         // DISPLAY
    QString wayland = {};     // WAYLAND_DISPLAY
    QString runtime = {};     // XDG_RUNTIME_DIR, where a relative Wayland socket lives
    int esperaMs = 1000; // how long a TCP display may take to accept
};

// The variables above, read from this process's environment.
AmbienteDisplay AmbienteDoProcesso();

// What QT_QPA_PLATFORM must hold: "offscreen" when no window system answers;
// otherwise the platforms that answered followed by "offscreen", so that a
// server that accepts the connection and then refuses the program still leaves
// Qt a platform to fall back to. Empty where the platform always has a desktop
// (Windows, macOS): Qt's choice stands.
QByteArray PlataformaQt(const AmbienteDisplay& ambiente);

// True when something accepts a connection at the X11 display address
// ("[host]:n[.screen]"; local for an empty host or "unix", TCP port 6000+n
// otherwise).
bool X11Responde(const QString& display, int esperaMs);

// True when something accepts a connection at the Wayland socket (an absolute
// path, or a name inside the runtime folder).
bool WaylandResponde(const QString& nome, const QString& runtime);
