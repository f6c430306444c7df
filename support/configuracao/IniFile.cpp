#include "configuracao/IniFile.h"

#include "plataforma/Erro.h"
#include "plataforma/Plataforma.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// The value a reader hands back is cut to this many bytes, as the Windows profile
// functions do with the 2048-byte buffer the programs have always passed them.
constexpr qsizetype TamanhoMaximoValor = 2047;

// What the Windows profile reader trims: the C blanks plus Ctrl-Z, which old DOS
// editors leave at the end of a file. CR belongs here so that a lone CR (a line
// end from an old Mac editor, or a CR LF split by a LF-only tool) never reaches
// a value.
bool EhBranco(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == '\x1a';
}

QByteArrayView Apara(QByteArrayView texto)
{
    qsizetype inicio = 0;
    qsizetype fim = texto.size();
    while (inicio < fim && EhBranco(texto[inicio]))
        ++inicio;
    while (fim > inicio && EhBranco(texto[fim - 1]))
        --fim;
    return texto.sliced(inicio, fim - inicio);
}

// ASCII letters only: the names are ASCII, and folding bytes above 0x7F would make
// different UTF-8 database names collide in the duration keys.
char Minuscula(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool IgualSemCaixa(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (Minuscula(a[i]) != Minuscula(b[i]))
            return false;
    return true;
}

struct Linha {
    qsizetype inicio = 0;
    qsizetype fimConteudo = 0; // before the line end (LF or CR LF)
    qsizetype fim = 0;         // after the line end; equals fimConteudo on an unterminated last line
};

// Where a key stands in the file: what the reader returns and where the writer
// puts the new line.
struct Posicao {
    bool secaoAchada = false;
    Linha ultimaDaSecao; // last non-blank line of the section (the header at least)
    bool chaveAchada = false;
    Linha linhaChave;
    QByteArrayView valorBruto; // text after the first '=' of linhaChave, untrimmed
};

bool NomeDeSecao(QByteArrayView conteudo, QByteArrayView& nome)
{
    const QByteArrayView aparado = Apara(conteudo);
    if (!aparado.startsWith('['))
        return false;
    const qsizetype fecha = aparado.lastIndexOf(']');
    if (fecha < 1)
        return false;
    nome = Apara(aparado.sliced(1, fecha - 1));
    return true;
}

// One pass over the lines. Only the first section with the name counts, and in it
// the first line of the key, as with the Windows profile functions.
Posicao Localiza(const QByteArray& bytes, QByteArrayView secao, QByteArrayView chave)
{
    Posicao p;
    const QByteArrayView secaoProcurada = Apara(secao);
    const QByteArrayView chaveProcurada = Apara(chave);
    const QByteArrayView todos(bytes);

    // A UTF-8 mark left by an editor must not hide a section on the first line.
    qsizetype pos = todos.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (pos < todos.size()) {
        Linha l;
        l.inicio = pos;
        const qsizetype lf = todos.indexOf('\n', pos);
        if (lf < 0) {
            l.fimConteudo = l.fim = todos.size();
        } else {
            l.fim = lf + 1;
            l.fimConteudo = (lf > pos && todos[lf - 1] == '\r') ? lf - 1 : lf;
        }
        pos = l.fim;

        const QByteArrayView conteudo = todos.sliced(l.inicio, l.fimConteudo - l.inicio);
        QByteArrayView nome;
        if (NomeDeSecao(conteudo, nome)) {
            if (p.secaoAchada)
                break;
            if (IgualSemCaixa(nome, secaoProcurada)) {
                p.secaoAchada = true;
                p.ultimaDaSecao = l;
            }
            continue;
        }
        if (!p.secaoAchada)
            continue;
        if (!Apara(conteudo).isEmpty())
            p.ultimaDaSecao = l;
        const qsizetype igual = conteudo.indexOf('=');
        if (igual >= 0 && IgualSemCaixa(Apara(conteudo.first(igual)), chaveProcurada)) {
            p.chaveAchada = true;
            p.linhaChave = l;
            p.valorBruto = conteudo.sliced(igual + 1);
            return p;
        }
    }
    return p;
}

bool EhAspa(char c) { return c == '"' || c == '\''; }

bool EntreAspas(QByteArrayView texto)
{
    return texto.size() >= 2 && EhAspa(texto.front()) && texto.back() == texto.front();
}

// A file that cannot be read is, for a reader, a file without the key.
QByteArray LeTudo(const QString& nome, bool* falhou = nullptr)
{
    QFile f(nome);
    if (!f.open(QIODevice::ReadOnly)) {
        // A name that exists but cannot be read must not be taken for an empty
        // file by the writer: rewriting it would drop every other setting.
        if (falhou)
            *falhou = QFileInfo::exists(nome);
        return {};
    }
    QByteArray bytes = f.readAll();
    if (falhou)
        *falhou = f.error() != QFileDevice::NoError;
    return bytes;
}

// The line a writer stores for a value. CR, LF and NUL cannot live inside a line
// of a profile file, so the value stops at the first of them. A value the reader
// would change (blanks at an end, or already enclosed in quotes) is stored inside
// double quotes, which the reader removes, so it reads back as written.
QByteArray LinhaDeChave(QByteArrayView chave, QByteArrayView valor)
{
    const auto corta = [](QByteArrayView t) {
        qsizetype n = 0;
        while (n < t.size() && t[n] != '\r' && t[n] != '\n' && t[n] != '\0')
            ++n;
        return t.first(n);
    };
    const QByteArrayView k = Apara(corta(chave));
    const QByteArrayView v = corta(valor);

    QByteArray linha;
    linha.reserve(k.size() + v.size() + 3);
    linha.append(k).append('=');
    const bool protege = !v.isEmpty() && (EhBranco(v.front()) || EhBranco(v.back()) || EntreAspas(v));
    if (protege)
        linha.append('"').append(v).append('"');
    else
        linha.append(v);
    return linha;
}

} // namespace

TIniFile::TIniFile(QString nomeArquivo) : nomeArquivo_(std::move(nomeArquivo)) {}

QByteArray TIniFile::ReadString(const QByteArray& secao, const QByteArray& chave, const QByteArray& padrao) const
{
    const QByteArray bytes = LeTudo(nomeArquivo_);
    const Posicao p = Localiza(bytes, secao, chave);
    if (!p.chaveAchada)
        return padrao;
    QByteArrayView valor = Apara(p.valorBruto);
    if (EntreAspas(valor))
        valor = valor.sliced(1, valor.size() - 2);
    return valor.first(std::min(valor.size(), TamanhoMaximoValor)).toByteArray();
}

int TIniFile::ReadInteger(const QByteArray& secao, const QByteArray& chave, int padrao) const
{
    return LeInteiro(ReadString(secao, chave, QByteArray()), padrao);
}

bool TIniFile::ReadBool(const QByteArray& secao, const QByteArray& chave, bool padrao) const
{
    return ReadInteger(secao, chave, padrao ? 1 : 0) != 0;
}

void TIniFile::WriteString(const QByteArray& secao, const QByteArray& chave, const QByteArray& valor)
{
    const QString falha = QStringLiteral("Impossível gravar para ") + nomeArquivo_;

    bool leituraFalhou = false;
    QByteArray bytes = LeTudo(nomeArquivo_, &leituraFalhou);
    if (leituraFalhou)
        throw Erro(falha);

    const QByteArray linha = LinhaDeChave(chave, valor);
    const Posicao p = Localiza(bytes, secao, chave);
    if (p.chaveAchada) {
        // Only the line's text: its own line end stays, so a LF-only file keeps LF.
        bytes.replace(p.linhaChave.inicio, p.linhaChave.fimConteudo - p.linhaChave.inicio, linha);
    } else if (p.secaoAchada) {
        const Linha& u = p.ultimaDaSecao;
        QByteArray inserir;
        if (u.fim == u.fimConteudo) // the section ends on an unterminated last line
            inserir += "\r\n";
        inserir += linha + "\r\n";
        bytes.insert(u.fim, inserir);
    } else {
        if (!bytes.isEmpty() && !bytes.endsWith('\n'))
            bytes += "\r\n";
        bytes += '[' + Apara(secao).toByteArray() + "]\r\n" + linha + "\r\n";
    }

    // QSaveFile writes beside the file and renames over it only after everything
    // reached the disk; it keeps the old file's permissions. Unbuffered, so a
    // failed write (disk full) is seen here and not lost in a flush at commit.
    QSaveFile f(nomeArquivo_);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw Erro(falha);
    // QSaveFile gives a file it may not write (one only root rewrites) the
    // default mode; the replacement takes the old file's own.
    CopiaModo(nomeArquivo_, f.handle());
    // On a throw the QSaveFile destructor removes the half-written temporary file.
    if (f.write(bytes) != bytes.size() || !f.commit())
        throw Erro(falha);
}

void TIniFile::WriteInteger(const QByteArray& secao, const QByteArray& chave, int valor)
{
    WriteString(secao, chave, QByteArray::number(valor));
}

void TIniFile::WriteBool(const QByteArray& secao, const QByteArray& chave, bool valor)
{
    WriteString(secao, chave, valor ? QByteArrayLiteral("1") : QByteArrayLiteral("0"));
}

void TIniFile::WriteFloat(const QByteArray& secao, const QByteArray& chave, double valor)
{
    WriteString(secao, chave, TextoFlutuante(valor));
}

int LeInteiro(const QByteArray& texto, int padrao)
{
    const QByteArrayView t = Apara(texto);
    if (t.isEmpty())
        return padrao;

    const auto digito = [](char c, int base) -> int {
        int d = -1;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        return d;
    };

    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
        // Hexadecimal is a 32-bit pattern: 0xFFFFFFFF is -1, as the profile readers
        // of the Windows world take it.
        std::uint64_t v = 0;
        for (const char c : t.sliced(2)) {
            const int d = digito(c, 16);
            if (d < 0)
                return padrao;
            v = v * 16 + std::uint64_t(d);
            if (v > 0xFFFFFFFFull)
                return padrao;
        }
        return int(std::uint32_t(v));
    }

    qsizetype i = 0;
    bool negativo = false;
    if (t[0] == '-' || t[0] == '+') {
        negativo = t[0] == '-';
        ++i;
    }
    if (i == t.size())
        return padrao;
    const std::int64_t limite = negativo ? -std::int64_t(std::numeric_limits<int>::min())
                                         : std::int64_t(std::numeric_limits<int>::max());
    std::int64_t v = 0;
    for (; i < t.size(); ++i) {
        const int d = digito(t[i], 10);
        if (d < 0)
            return padrao;
        v = v * 10 + d;
        if (v > limite)
            return padrao;
    }
    return int(negativo ? -v : v);
}

QByteArray TextoFlutuante(double valor)
{
    // Whole numbers below 10^15 are exact in a double and print as plain digits;
    // beyond that (and for fractions) the shortest text that reads back the same.
    if (std::isfinite(valor) && valor == std::trunc(valor) && std::fabs(valor) < 1e15)
        return QByteArray::number(static_cast<qlonglong>(valor));
    return QByteArray::number(valor, 'g', QLocale::FloatingPointShortest);
}
