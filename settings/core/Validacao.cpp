#include "core/Validacao.h"

#include <limits>

std::optional<int> TextoParaInteiro(const QString& texto)
{
    qsizetype i = 0;
    const qsizetype n = texto.size();
    while (i < n && texto[i] == QLatin1Char(' '))
        ++i;
    bool negativo = false;
    if (i < n && (texto[i] == QLatin1Char('+') || texto[i] == QLatin1Char('-'))) {
        negativo = texto[i] == QLatin1Char('-');
        ++i;
    }
    int base = 10;
    if (i < n && texto[i] == QLatin1Char('$')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && texto[i] == QLatin1Char('0') && texto[i + 1].toLower() == QLatin1Char('x')) {
        base = 16;
        i += 2;
    } else if (i < n && texto[i].toLower() == QLatin1Char('x')) {
        base = 16;
        ++i;
    }
    if (i == n)
        return std::nullopt;
    // Hexadecimal texts may reach the full 32 bits (as $FFFFFFFF gives -1);
    // decimal ones must fit the signed range.
    const qint64 limite = base == 16 ? qint64(std::numeric_limits<quint32>::max())
                                     : qint64(std::numeric_limits<int>::max()) + (negativo ? 1 : 0);
    qint64 valor = 0;
    for (; i < n; ++i) {
        const char16_t c = texto[i].toLower().unicode();
        int digito;
        if (c >= u'0' && c <= u'9')
            digito = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            digito = c - u'a' + 10;
        else
            return std::nullopt;
        valor = valor * base + digito;
        if (valor > limite)
            return std::nullopt;
    }
    if (base == 16)
        valor = static_cast<qint32>(static_cast<quint32>(valor));
    return static_cast<int>(negativo ? -valor : valor);
}

std::optional<FalhaValidacao> ValidaConfiguracao(const Configuracao& c)
{
    const bool comEmail = !c.EmailDest.isEmpty();
    const bool comFTP = !c.FTPHost.isEmpty();
    if (comEmail && !TextoParaInteiro(c.EmailPort))
        return FalhaValidacao{AbaConfiguracao::Email, CampoConfiguracao::EmailPort,
                              QStringLiteral("Email: número de porta inválido.")};
    if (comFTP && !TextoParaInteiro(c.FTPPort))
        return FalhaValidacao{AbaConfiguracao::FTP, CampoConfiguracao::FTPPort,
                              QStringLiteral("FTP: número de porta inválido.")};
    // The account is required even when the server asks for no authentication.
    if (comEmail
        && (c.EmailSMTP.isEmpty() || c.EmailUser.isEmpty() || c.EmailPort.isEmpty() || c.EmailFrom.isEmpty()
            || c.EmailAssu.isEmpty() || c.EmailPass.isEmpty()))
        return FalhaValidacao{AbaConfiguracao::Email, CampoConfiguracao::EmailSMTP,
                              QStringLiteral("Email: configurações incompletas.")};
    if (comFTP && (c.FTPUser.isEmpty() || c.FTPPass.isEmpty() || c.FTPPort.isEmpty() || c.FTPDir.isEmpty()))
        return FalhaValidacao{AbaConfiguracao::FTP, CampoConfiguracao::FTPHost,
                              QStringLiteral("FTP: configurações incompletas.")};
    return std::nullopt;
}
