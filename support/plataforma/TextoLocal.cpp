#include "plataforma/TextoLocal.h"

#include <QStringDecoder>
#include <QStringEncoder>

#if !defined(Q_OS_WIN)
#include <langinfo.h>
#include <locale.h>
#endif

namespace {

// Qt 6 takes every Unix locale as UTF-8, so its local 8-bit conversion stands in
// only where that is true. The C/POSIX locale ("ANSI_X3.4-1968") keeps UTF-8 too:
// plain ASCII is its subset, and that is how these files were always written there.
bool UsaConversaoDoQt(const QByteArray& charset)
{
    const QByteArray c = charset.toUpper();
    return c.isEmpty() || c == "UTF-8" || c == "UTF8" || c == "ANSI_X3.4-1968" || c == "ASCII" || c == "US-ASCII";
}

}

QByteArray CharsetLocal()
{
#if defined(Q_OS_WIN)
    return {};
#else
    // A locale object of its own: the process-wide locale is neither read nor
    // changed, so this holds before and after the application sets it up.
    const locale_t local = newlocale(LC_CTYPE_MASK, "", locale_t(nullptr));
    if (local == locale_t(nullptr))
        return {};
    const QByteArray charset(nl_langinfo_l(CODESET, local));
    freelocale(local);
    return charset;
#endif
}

QString DeTextoLocal(const QByteArray& bytes)
{
    const QByteArray charset = CharsetLocal();
    if (!UsaConversaoDoQt(charset)) {
        QStringDecoder decodifica(charset.constData());
        if (decodifica.isValid())
            return decodifica.decode(bytes);
    }
    return QString::fromLocal8Bit(bytes);
}

QByteArray ParaTextoLocal(const QString& texto)
{
    const QByteArray charset = CharsetLocal();
    if (!UsaConversaoDoQt(charset)) {
        QStringEncoder codifica(charset.constData());
        if (codifica.isValid())
            return codifica.encode(texto);
    }
    return texto.toLocal8Bit();
}
