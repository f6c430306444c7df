#include "transferencias/CodificacaoMime.h"

#include <QList>
#include <algorithm>

namespace {
bool AsciiImprimivel(const QString& s)
{
    for (const QChar c : s)
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            return false;
    return true;
}

QString SemQuebras(QString s)
{
    s.replace(QLatin1String("\r\n"), QLatin1String(" "));
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return s;
}

// RFC 2047 words of at most 75 characters ("=?UTF-8?B?" + 60 base64 + "?="),
// cut between characters, never inside one; folded onto continuation lines.
QByteArray PalavrasCodificadas(const QString& texto)
{
    const QByteArray utf8 = texto.toUtf8();
    QByteArray saida;
    qsizetype i = 0;
    while (i < utf8.size()) {
        qsizetype fim = std::min(i + 45, utf8.size());
        while (fim < utf8.size() && fim > i && (static_cast<unsigned char>(utf8[fim]) & 0xC0) == 0x80)
            --fim;
        if (!saida.isEmpty())
            saida += "\r\n ";
        saida += "=?UTF-8?B?" + utf8.mid(i, fim - i).toBase64() + "?=";
        i = fim;
    }
    return saida;
}
}

QByteArray CabecalhoTexto(const QString& valor)
{
    const QString v = SemQuebras(valor);
    if (AsciiImprimivel(v) && v.size() <= 900)
        return v.toLatin1();
    return PalavrasCodificadas(v);
}

QByteArray CabecalhoEndereco(const QString& valor)
{
    const QString v = SemQuebras(valor);
    const qsizetype abre = v.indexOf(QLatin1Char('<'));
    if (AsciiImprimivel(v) || abre <= 0)
        return v.toUtf8();  // an address of its own is never encoded (RFC 6532 allows UTF-8)
    const QString nome = v.left(abre).trimmed();
    const QByteArray resto = v.mid(abre).toUtf8();
    if (AsciiImprimivel(nome))
        return nome.toLatin1() + ' ' + resto;
    return PalavrasCodificadas(nome) + ' ' + resto;
}

QByteArray Parametro(const QByteArray& nome, const QString& valor)
{
    const QString v = SemQuebras(valor);
    if (AsciiImprimivel(v)) {
        QByteArray q = v.toLatin1();
        q.replace('\\', "\\\\");
        q.replace('"', "\\\"");
        return nome + "=\"" + q + '"';
    }
    return nome + "*=UTF-8''" + v.toUtf8().toPercentEncoding("!#$&+-.^_`|~");
}

QByteArray QuotedPrintable(const QByteArray& texto)
{
    static const char hex[] = "0123456789ABCDEF";
    QByteArray saida;
    const QList<QByteArray> linhas = texto.split('\n');
    for (qsizetype n = 0; n < linhas.size(); ++n) {
        QByteArray linha = linhas[n];
        if (linha.endsWith('\r'))
            linha.chop(1);
        int coluna = 0;
        for (qsizetype i = 0; i < linha.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(linha[i]);
            const bool ultimo = i + 1 == linha.size();
            QByteArray pedaco;
            if ((c >= 33 && c <= 126 && c != '=') || ((c == ' ' || c == '\t') && !ultimo))
                pedaco = QByteArray(1, static_cast<char>(c));
            else
                pedaco = QByteArray{"="} + hex[c >> 4] + hex[c & 15];
            if (coluna + pedaco.size() > 75) {
                saida += "=\r\n";
                coluna = 0;
            }
            saida += pedaco;
            coluna += static_cast<int>(pedaco.size());
        }
        if (n + 1 < linhas.size())
            saida += "\r\n";
    }
    return saida;
}

qint64 TamanhoBase64(qint64 bytes)
{
    const qint64 caracteres = (bytes + 2) / 3 * 4;
    const qint64 linhas = (caracteres + 75) / 76;
    return caracteres + 2 * linhas;
}

qint64 Base64Linhas(const char* origem, qint64 tamanho, char* destino)
{
    static const char alfabeto[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const auto* o = reinterpret_cast<const unsigned char*>(origem);
    char* d = destino;
    int naLinha = 0;
    qint64 i = 0;
    for (; i + 3 <= tamanho; i += 3) {
        const unsigned v = (o[i] << 16) | (o[i + 1] << 8) | o[i + 2];
        *d++ = alfabeto[v >> 18];
        *d++ = alfabeto[(v >> 12) & 63];
        *d++ = alfabeto[(v >> 6) & 63];
        *d++ = alfabeto[v & 63];
        if (++naLinha == 19) {  // 19 groups = 76 characters
            *d++ = '\r';
            *d++ = '\n';
            naLinha = 0;
        }
    }
    if (i < tamanho) {
        const unsigned v = (o[i] << 16) | (i + 1 < tamanho ? o[i + 1] << 8 : 0);
        *d++ = alfabeto[v >> 18];
        *d++ = alfabeto[(v >> 12) & 63];
        *d++ = i + 1 < tamanho ? alfabeto[(v >> 6) & 63] : '=';
        *d++ = '=';
        ++naLinha;
    }
    if (naLinha > 0) {
        *d++ = '\r';
        *d++ = '\n';
    }
    return d - destino;
}
