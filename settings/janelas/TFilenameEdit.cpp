#include "janelas/TFilenameEdit.h"

#include "janelas/Icones.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

TFilenameEdit::TFilenameEdit(const QString& filtro, QWidget* parent)
    : QWidget(parent), filtro_(filtro), edit_(new QLineEdit(this)), botao_(new QToolButton(this))
{
    auto* linha = new QHBoxLayout(this);
    linha->setContentsMargins(0, 0, 0, 0);
    linha->setSpacing(2);
    linha->addWidget(edit_);
    linha->addWidget(botao_);
    botao_->setIcon(Icone(QStringLiteral("document-open"), QStyle::SP_DialogOpenButton));
    botao_->setToolTip(QStringLiteral("Procurar arquivo"));
    botao_->setFocusPolicy(Qt::NoFocus);
    setFocusProxy(edit_);
    setFocusPolicy(edit_->focusPolicy());
    connect(botao_, &QToolButton::clicked, this, &TFilenameEdit::Procura);
}

QString TFilenameEdit::text() const { return edit_->text(); }
void TFilenameEdit::setText(const QString& texto) { edit_->setText(texto); }

void TFilenameEdit::Procura()
{
    const QString atual = text().remove(QLatin1Char('"'));
    const QString inicio = !InitialDir.isEmpty() ? InitialDir : atual.isEmpty() ? QString() : QFileInfo(atual).absolutePath();
    const QString escolhido = QFileDialog::getOpenFileName(this, QString(), inicio, filtro_);
    if (!escolhido.isEmpty())
        setText(QDir::toNativeSeparators(escolhido));
}
