#pragma once
// A Windows-style profile file (CONFIG.ini) read and written as bytes.
//
// Reading: section and key names match without regard to case; the value is the
// text after the first '=', blanks at either end dropped, an enclosing pair of
// matching double or single quotes removed, at most 2047 bytes kept. An empty
// value reads as empty: the default applies only when the key is absent.
// Integers: decimal with optional sign, or "0x"/"0X" hexadecimal when the text is
// longer than two characters; anything else (or out of 32-bit range) gives the
// default. Booleans: integer read with default 1/0, non-zero is true.
//
// Writing: each write re-reads the file, replaces the key's line in place or adds
// it at the end of its section (adding the section at the end of the file when it
// is missing), and replaces the whole file atomically (written beside it, flushed,
// then renamed), so a crash or a full disk never leaves a truncated file. Lines end
// in CR LF. A refused write throws Erro("Impossível gravar para <file>").
// Every call reads the file afresh, so a change made by another program between two
// calls is seen, and a write replaces one key only.
#include <QByteArray>
#include <QString>

class TIniFile {
public:
    explicit TIniFile(QString nomeArquivo);

    const QString& FileName() const { return nomeArquivo_; }

    QByteArray ReadString(const QByteArray& secao, const QByteArray& chave, const QByteArray& padrao) const;
    int ReadInteger(const QByteArray& secao, const QByteArray& chave, int padrao) const;
    bool ReadBool(const QByteArray& secao, const QByteArray& chave, bool padrao) const;

    void WriteString(const QByteArray& secao, const QByteArray& chave, const QByteArray& valor);
    void WriteInteger(const QByteArray& secao, const QByteArray& chave, int valor);
    void WriteBool(const QByteArray& secao, const QByteArray& chave, bool valor);
    // The general number text: a whole number prints as plain decimal digits.
    void WriteFloat(const QByteArray& secao, const QByteArray& chave, double valor);

private:
    QString nomeArquivo_;
};

// The integer reading rule on its own (shared by the settings tool's port boxes).
int LeInteiro(const QByteArray& texto, int padrao);
// The general number text of a floating value ("7", "-3", "2.5").
QByteArray TextoFlutuante(double valor);
