#include "configuracao/SenhaGuardada.h"

namespace {

// What the profile reader trims from the ends of a value.
bool EhBranco(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == '\x1a';
}

bool EhAspa(char c) { return c == '"' || c == '\''; }

constexpr qsizetype TamanhoMaximoValor = 2047;

bool VoltaComoEsta(const QByteArray& v)
{
    if (v.isEmpty())
        return true;
    if (v.size() > TamanhoMaximoValor || v.contains('\0') || v.contains('\r') || v.contains('\n'))
        return false;
    if (EhBranco(v.front()) || EhBranco(v.back()))
        return false;
    return !(v.size() >= 2 && EhAspa(v.front()) && v.back() == v.front());
}

}

QByteArray FormaGuardada(const QByteArray& embaralhada)
{
    if (VoltaComoEsta(embaralhada))
        return embaralhada;
    return '\'' + embaralhada.toHex() + '\'';
}

QByteArray DeFormaGuardada(const QByteArray& lida)
{
    if (lida.size() >= 2 && lida.front() == '\'' && lida.back() == '\'') {
        const QByteArray hex = lida.mid(1, lida.size() - 2);
        bool valido = hex.size() % 2 == 0;
        for (const char c : hex)
            valido = valido && ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'));
        if (valido)
            return QByteArray::fromHex(hex);
    }
    return lida;
}
