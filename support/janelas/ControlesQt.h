#pragma once
// The lent controls over real widgets.
#include "plataforma/Controles.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;

class RotuloQt : public Rotulo {
public:
    explicit RotuloQt(QLabel* label) : label_(label) {}
    QString texto() const override;
    void defineTexto(const QString& texto) override;
    bool visivel() const override;
    void defineVisivel(bool visivel) override;

private:
    QLabel* label_;
};

class BarraQt : public Barra {
public:
    explicit BarraQt(QProgressBar* barra);
    int posicao() const override;
    void definePosicao(int posicao) override;
    int maximo() const override;
    void defineMaximo(int maximo) override;
    bool visivel() const override;
    void defineVisivel(bool visivel) override;

private:
    QProgressBar* barra_;
    int maximo_ = 100;
};

class MemoQt : public Memo {
public:
    explicit MemoQt(QPlainTextEdit* memo) : memo_(memo) {}
    void defineTexto(const QByteArray& bytes) override;
    QByteArray texto() const override;

private:
    QPlainTextEdit* memo_;
    QByteArray bytes_;  // the report as read; the widget shows it decoded
};
