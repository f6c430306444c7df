#include "Un_Recupera.h"

#include "Un_Principal.h"
#include "core/Restauracao.h"
#include "janelas/CamposFoco.h"
#include "janelas/Confirma.h"
#include "janelas/Icones.h"
#include "janelas/TFilenameEdit.h"
#include "janelas/TeclaEnter.h"
#include "plataforma/TextoLocal.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedLayout>
#include <QVBoxLayout>

namespace {

const QColor Verde(0, 128, 0);
const QColor Vermelho(255, 0, 0);

template <class W>
W* Nomeado(W* w, const char* nome)
{
    w->setObjectName(QLatin1String(nome));
    return w;
}

QFont Negrito(QFont f)
{
    f.setBold(true);
    return f;
}

}  // namespace

TFm_Recupera::TFm_Recupera(TFm_Principal& principal, const QString& pastaPrograma, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), principal_(principal), pastaPrograma_(pastaPrograma)
{
    setObjectName(QStringLiteral("Fm_Recupera"));
    setWindowTitle(QStringLiteral("Recuperar backup"));

    formulario_ = new QWidget(this);
    Label7 = Nomeado(new QLabel(QStringLiteral("Host :"), formulario_), "Label7");
    Edit1 = Nomeado(new QLineEdit(formulario_), "Edit1");
    Label5 = Nomeado(new QLabel(QStringLiteral("Informe arquivo de backup para recuperar :"), formulario_), "Label5");
    FeBackup = Nomeado(new TFilenameEdit(QStringLiteral("Arquivo de Backup (*)"), formulario_), "FeBackup");
    Label1 = Nomeado(new QLabel(QStringLiteral("Informe nome da base de dados :"), formulario_), "Label1");
    FeBase = Nomeado(new TFilenameEdit(QStringLiteral("Base de Dados FDB (*.FDB *.fdb)"), formulario_), "FeBase");
    CheckBox1 = Nomeado(new QCheckBox(QStringLiteral("Aplicar correção para mudança de versão 2.1 > 2.5"), formulario_), "CheckBox1");
    LbCopia = Nomeado(new QLabel(formulario_), "LbCopia");
    BitBtn1 = Nomeado(new QPushButton(QStringLiteral("&Recuperar backup"), formulario_), "BitBtn1");
    BitBtn1->setIcon(Icone(QStringLiteral("document-revert"), QStyle::SP_DialogApplyButton));
    BitBtn2 = Nomeado(new QPushButton(QStringLiteral("&Fechar rotina"), formulario_), "BitBtn2");
    BitBtn2->setIcon(Icone(QStringLiteral("window-close"), QStyle::SP_DialogCloseButton));
    Memo1 = Nomeado(new QPlainTextEdit(this), "Memo1");
    Memo1->setReadOnly(true);

    for (QWidget* w : {static_cast<QWidget*>(Edit1), static_cast<QWidget*>(FeBackup), static_cast<QWidget*>(FeBase),
                       static_cast<QWidget*>(LbCopia)})
        w->setFont(Negrito(w->font()));
    for (QPushButton* b : {BitBtn1, BitBtn2}) {
        b->setAutoDefault(true);  // Enter on the focused button presses it
        b->setIconSize(QSize(24, 24));
        b->setMinimumSize(176, 39);
    }
    connect(BitBtn1, &QPushButton::clicked, this, &TFm_Recupera::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TFm_Recupera::BitBtn2Click);

    auto* campos = new QVBoxLayout(formulario_);
    for (QWidget* w : {static_cast<QWidget*>(Label7), static_cast<QWidget*>(Edit1), static_cast<QWidget*>(Label5),
                       static_cast<QWidget*>(FeBackup), static_cast<QWidget*>(Label1), static_cast<QWidget*>(FeBase),
                       static_cast<QWidget*>(CheckBox1)})
        campos->addWidget(w);
    // The status and the buttons share one line: the buttons cover the status
    // while they are shown, and it is read once they are hidden.
    auto* linha = new QGridLayout;
    linha->addWidget(LbCopia, 0, 0, 1, 2);
    linha->addWidget(BitBtn1, 0, 0);
    linha->addWidget(BitBtn2, 0, 1);
    campos->addSpacing(8);
    campos->addLayout(linha);
    campos->addStretch();

    // A failure's report fills the whole window.
    paginas_ = new QStackedLayout(this);
    paginas_->addWidget(formulario_);
    paginas_->addWidget(Memo1);

    const QList<QWidget*> ordem{FeBackup, FeBase, CheckBox1, BitBtn1, BitBtn2, Edit1, Memo1};
    for (qsizetype i = 1; i < ordem.size(); ++i)
        QWidget::setTabOrder(ordem[i - 1], ordem[i]);
    PreparaCampos(this);
    resize(520, 300);
}

void TFm_Recupera::showEvent(QShowEvent* evento)
{
    QWidget::showEvent(evento);
    if (!evento->spontaneous())
        FormShow();
}

void TFm_Recupera::FormShow()
{
    paginas_->setCurrentWidget(formulario_);
    FeBackup->InitialDir = principal_.EdDest->text();
    FeBackup->setText(QString());
    FeBase->setText(principal_.EdBase->text());
    Edit1->setText(principal_.EdHost->text());
    Status(QString(), Verde);
    BitBtn1->show();
    BitBtn2->show();
    FeBackup->setFocus();
}

void TFm_Recupera::Status(const QString& texto, const QColor& cor)
{
    LbCopia->setText(texto);
    LbCopia->setStyleSheet(QStringLiteral("color: %1;").arg(cor.name()));
}

void TFm_Recupera::BitBtn1Click()
{
    if (Confirma(QStringLiteral("ATENÇÃO! ÚLTIMO AVISO !!!\r\rEstá rotina irá DESTRUIR a base existente, sobrepondo com "
                                "a base recuperada de um backup.\r\rVocê tem CERTEZA que deseja continuar?"),
                 QStringLiteral("&Não! Verificar informações."), QStringLiteral("&SIM, processar arquivo.")))
        return;
    BitBtn1->hide();
    BitBtn2->hide();
    // The file dialog's habit of quoting names with blanks: quotes are no part of
    // a name.
    FeBackup->setText(FeBackup->text().remove(QLatin1Char('"')));
    FeBase->setText(FeBase->text().remove(QLatin1Char('"')));

    PedidoRestauracao pedido;
    pedido.gbak = principal_.EdGBak->text();
    pedido.senha = ParaTextoLocal(principal_.EdSYSDBAPass->text());
    pedido.backup = FeBackup->text();
    pedido.host = Edit1->text();
    pedido.banco = FeBase->text();
    pedido.correcaoVersao = CheckBox1->isChecked();
    pedido.pastaPrograma = pastaPrograma_;
    pedido.etapa = [this](const QString& texto) {
        Status(texto, Verde);
        QCoreApplication::processEvents();
    };
    const ResultadoRestauracao resultado = Restaura(pedido);

    if (resultado.restaurado) {
        Status(QStringLiteral("[ Backup Restaurado. ]"), Verde);
        QCoreApplication::processEvents();
        BitBtn2->show();
        BitBtn2->setFocus();
        return;
    }
    Status(QStringLiteral("[ FALHA ]"), Vermelho);
    Memo1->setPlainText(DeTextoLocal(resultado.relatorio));
    Confirma(QStringLiteral("ATENÇÃO ! Falha na execução da rotina !\rEntre em contato com a Ardenza Informática para "
                            "análise do registro de backup."),
             QStringLiteral("&Verificar processo."), QString());
    paginas_->setCurrentWidget(Memo1);
    Memo1->setFocus();
}

void TFm_Recupera::BitBtn2Click() { close(); }

bool TFm_Recupera::FormKeyPress(int tecla) { return EnterComoTab(this, tecla); }

void TFm_Recupera::keyPressEvent(QKeyEvent* evento)
{
    if (!FormKeyPress(evento->key()))
        QWidget::keyPressEvent(evento);
}
