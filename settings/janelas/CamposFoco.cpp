#include "janelas/CamposFoco.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

// The box inside a spin or drop-down box is coloured through its owner.
bool EhCampo(const QWidget* w)
{
    if (qobject_cast<const QLineEdit*>(w))
        return !qobject_cast<const QAbstractSpinBox*>(w->parentWidget())
            && !qobject_cast<const QComboBox*>(w->parentWidget());
    return qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QComboBox*>(w)
        || qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QTextEdit*>(w)
        || qobject_cast<const QCheckBox*>(w);
}

// Boxes paint their field in the Base colour; a check box paints its
// background, the Window colour, once it fills it.
QPalette::ColorRole Papel(const QWidget* w)
{
    return qobject_cast<const QCheckBox*>(w) ? QPalette::Window : QPalette::Base;
}

// What a field returns to: the window colour for boxes, the button face for check
// boxes.
QColor CorNormal(const QWidget* w)
{
    const QPalette padrao = QApplication::palette(w);
    return qobject_cast<const QCheckBox*>(w) ? padrao.color(QPalette::Button) : padrao.color(QPalette::Base);
}

// A field dressed in the tooltip colour is a notice, never recoloured.
bool CorDeAviso(const QWidget* w)
{
    return w->palette().color(Papel(w)) == QApplication::palette(w).color(QPalette::ToolTipBase);
}

void Pinta(QWidget* w, const QColor& cor)
{
    if (CorDeAviso(w))
        return;
    QPalette p = w->palette();
    p.setColor(Papel(w), cor);
    w->setPalette(p);
    if (qobject_cast<QCheckBox*>(w))
        w->setAutoFillBackground(true);
}

}  // namespace

void TCoresFoco::CampoEntra(QWidget* campo) { Pinta(campo, CorFoco); }

void TCoresFoco::CampoSai(QWidget* campo) { Pinta(campo, CorNormal(campo)); }

bool TCoresFoco::eventFilter(QObject* objeto, QEvent* evento)
{
    if (evento->type() == QEvent::FocusIn)
        CampoEntra(static_cast<QWidget*>(objeto));
    else if (evento->type() == QEvent::FocusOut)
        CampoSai(static_cast<QWidget*>(objeto));
    return false;
}

void PreparaCampos(QWidget* janela)
{
    auto* cores = janela->findChild<TCoresFoco*>(QString(), Qt::FindDirectChildrenOnly);
    if (!cores)
        cores = new TCoresFoco(janela);
    const auto campos = janela->findChildren<QWidget*>();
    for (QWidget* w : campos)
        if (EhCampo(w)) {
            w->removeEventFilter(cores);
            w->installEventFilter(cores);
        }
}
