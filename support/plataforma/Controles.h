#pragma once
// The three controls the runner lends to the backup procedure: the status label,
// the progress bar and the log buffer. The procedure sees them through these small
// interfaces so it can run, and be tested, without any window.
#include <QByteArray>
#include <QString>

class Rotulo {
public:
    virtual ~Rotulo() = default;
    virtual QString texto() const = 0;
    virtual void defineTexto(const QString& texto) = 0;
    virtual bool visivel() const = 0;
    virtual void defineVisivel(bool visivel) = 0;
};

class Barra {
public:
    virtual ~Barra() = default;
    virtual int posicao() const = 0;
    virtual void definePosicao(int posicao) = 0;
    virtual int maximo() const = 0;
    virtual void defineMaximo(int maximo) = 0;
    virtual bool visivel() const = 0;
    virtual void defineVisivel(bool visivel) = 0;
};

// Holds the whole text of the last gbak report that was read.
class Memo {
public:
    virtual ~Memo() = default;
    virtual void defineTexto(const QByteArray& bytes) = 0;
    virtual QByteArray texto() const = 0;
};

// Plain in-memory controls, for runs without a window and for tests.
class RotuloMemoria : public Rotulo {
public:
    QString texto() const override { return texto_; }
    void defineTexto(const QString& texto) override { texto_ = texto; }
    bool visivel() const override { return visivel_; }
    void defineVisivel(bool visivel) override { visivel_ = visivel; }

private:
    QString texto_;
    bool visivel_ = false;
};

class BarraMemoria : public Barra {
public:
    int posicao() const override { return posicao_; }
    void definePosicao(int posicao) override { posicao_ = posicao < 0 ? 0 : (posicao > maximo_ ? maximo_ : posicao); }
    int maximo() const override { return maximo_; }
    void defineMaximo(int maximo) override
    {
        maximo_ = maximo < 0 ? 0 : maximo;
        if (posicao_ > maximo_)
            posicao_ = maximo_;
    }
    bool visivel() const override { return visivel_; }
    void defineVisivel(bool visivel) override { visivel_ = visivel; }

private:
    int posicao_ = 0;
    int maximo_ = 100;
    bool visivel_ = false;
};

class MemoMemoria : public Memo {
public:
    void defineTexto(const QByteArray& bytes) override { bytes_ = bytes; }
    QByteArray texto() const override { return bytes_; }

private:
    QByteArray bytes_;
};
