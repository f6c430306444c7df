#include "janelas/ControlesQt.h"

#include "plataforma/TextoLocal.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>

QString RotuloQt::texto() const { return label_->text(); }
void RotuloQt::defineTexto(const QString& texto)
{
    label_->setText(texto);
    label_->adjustSize();  // the label is sized to its text
}
// "Visible" is the control's own setting, whether or not its window is shown.
bool RotuloQt::visivel() const { return !label_->isHidden(); }
void RotuloQt::defineVisivel(bool visivel) { label_->setVisible(visivel); }

BarraQt::BarraQt(QProgressBar* barra) : barra_(barra), maximo_(barra->maximum()) {}

int BarraQt::posicao() const { return barra_->value() < 0 ? 0 : qMin(barra_->value(), maximo_); }
void BarraQt::definePosicao(int posicao) { barra_->setValue(qBound(0, posicao, maximo_)); }
int BarraQt::maximo() const { return maximo_; }
void BarraQt::defineMaximo(int maximo)
{
    maximo_ = maximo < 0 ? 0 : maximo;
    // A maximum of 0 must read as an empty bar, not as Qt's busy indicator.
    barra_->setRange(0, qMax(1, maximo_));
    if (barra_->value() > maximo_)
        barra_->setValue(maximo_);
}
bool BarraQt::visivel() const { return !barra_->isHidden(); }
void BarraQt::defineVisivel(bool visivel) { barra_->setVisible(visivel); }

void MemoQt::defineTexto(const QByteArray& bytes)
{
    bytes_ = bytes;
    memo_->setPlainText(DeTextoLocal(bytes));
}
QByteArray MemoQt::texto() const { return bytes_; }
