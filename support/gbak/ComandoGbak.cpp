#include "gbak/ComandoGbak.h"

#include "plataforma/Caminhos.h"
#include "plataforma/TextoLocal.h"

AmbienteExtra AmbienteDaConta(const QByteArray& senha)
{
    return {{QStringLiteral("ISC_USER"), QLatin1String(UsuarioAdministrador)},
            {QStringLiteral("ISC_PASSWORD"), DeTextoLocal(senha)}};
}

QString LinhaDoComando(const ComandoGbak& comando)
{
    return Aspas(comando.programa) + QLatin1Char(' ') + comando.argumentos;
}
