#pragma once
// The settings window's four checks of the e-mail and FTP settings, without any
// window: the first one that fails says which tab and field to show and what to
// tell the user.
#include "configuracao/Configuracao.h"

#include <QString>

#include <optional>

enum class AbaConfiguracao { Detalhes, Email, FTP };

// The field the user is sent to.
enum class CampoConfiguracao { EmailPort, FTPPort, EmailSMTP, FTPHost };

struct FalhaValidacao {
    AbaConfiguracao aba;
    CampoConfiguracao campo;
    QString mensagem;
};

// The caption of the alert's one option.
inline constexpr const char* OpcaoVerificar = "&Verificar configuração.";

// Runs the checks in their order: e-mail port, FTP port, e-mail completeness, FTP
// completeness. E-mail settings are checked only when a recipient is given, FTP
// settings only when a server is. Empty means no character at all: blanks count.
std::optional<FalhaValidacao> ValidaConfiguracao(const Configuracao& c);

// A 32-bit signed number as the original platform's text-to-integer conversion
// reads it: leading blanks, an optional sign, decimal digits or hexadecimal after
// "$", "0x" or "x", nothing after them. Empty when the text is not such a number.
std::optional<int> TextoParaInteiro(const QString& texto);
