#pragma once
// One gbak command: the program file, its switches and paths, and the account it
// logs in with. The account travels in the child's environment (ISC_USER,
// ISC_PASSWORD), which gbak reads when its command line names none, so no other
// local user can read the password in the process list.
#include "plataforma/Plataforma.h"

#include <QByteArray>
#include <QString>

inline constexpr const char* UsuarioAdministrador = "SYSDBA";

struct ComandoGbak {
    QString programa;    // the gbak file that runs; never looked up by name
    QString argumentos;  // the command line after the program, by the Windows rules
    QByteArray senha;    // the administrator's password, in clear
};

// The environment that carries the account to the child.
AmbienteExtra AmbienteDaConta(const QByteArray& senha);

// The command as one line, as it would be typed (program, blank, arguments): for
// messages and tests; the password is never part of it.
QString LinhaDoComando(const ComandoGbak& comando);
