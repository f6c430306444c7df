#include "Un_Principal.h"

#include "Un_Recupera.h"
#include "core/Validacao.h"
#include "janelas/CamposFoco.h"
#include "janelas/Confirma.h"
#include "janelas/Icones.h"
#include "janelas/TFilenameEdit.h"
#include "janelas/TeclaEnter.h"
#include "plataforma/DataHora.h"
#include "plataforma/Erro.h"
#include "plataforma/Plataforma.h"
#include "plataforma/TextoLocal.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <limits>

namespace {

// A framed group whose fields stand in a grid: right-aligned labels, the field,
// and an optional button beside it.
class Grupo {
public:
    Grupo(QWidget* aba, QVBoxLayout* colunas, const QString& titulo)
        : caixa_(new QGroupBox(titulo, aba)), grade_(new QGridLayout(caixa_))
    {
        colunas->addWidget(caixa_);
        grade_->setColumnStretch(1, 1);
    }

    template <class W>
    W* Campo(const QString& rotulo, W* campo, const QString& dica, QWidget* botao = nullptr)
    {
        campo->setParent(caixa_);
        if (!rotulo.isEmpty()) {
            auto* r = new QLabel(rotulo, caixa_);
            r->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            r->setBuddy(campo);
            grade_->addWidget(r, linha_, 0);
        }
        grade_->addWidget(campo, linha_, 1);
        if (botao) {
            botao->setParent(caixa_);
            grade_->addWidget(botao, linha_, 2);
        }
        if (!dica.isEmpty())
            campo->setToolTip(dica);
        ++linha_;
        return campo;
    }

private:
    QGroupBox* caixa_;
    QGridLayout* grade_;
    int linha_ = 0;
};

QLineEdit* Senha()
{
    auto* e = new QLineEdit;
    e->setEchoMode(QLineEdit::Password);
    return e;
}

QPushButton* BotaoPasta(const QString& nome)
{
    auto* b = new QPushButton;
    b->setObjectName(nome);
    b->setIcon(Icone(QStringLiteral("folder-open"), QStyle::SP_DirOpenIcon));
    b->setToolTip(QStringLiteral("Procurar pasta"));
    b->setAutoDefault(true);  // Enter on the focused button presses it
    return b;
}

template <class W>
W* Nomeado(W* w, const char* nome)
{
    w->setObjectName(QLatin1String(nome));
    return w;
}

QString SelecionaPastaPadrao(QWidget* dono, const QString& titulo)
{
    return QDir::toNativeSeparators(QFileDialog::getExistingDirectory(dono, titulo));
}

}  // namespace

TFm_Principal::TFm_Principal(const QString& arquivoConfig, const QString& pastaPrograma, QWidget* parent)
    : QWidget(parent), SelecionaPasta(SelecionaPastaPadrao), arquivoConfig_(arquivoConfig)
{
    setObjectName(QStringLiteral("Fm_Principal"));
    setWindowTitle(QStringLiteral("Zozedad Backup - ") + QLatin1String(EnderecoFabricante));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    PageControl1 = Nomeado(new QTabWidget(this), "PageControl1");
    MontaDetalhes();
    MontaEmail();
    MontaFTP();

    BtSalvar = Nomeado(new QPushButton(QStringLiteral("&Salvar configurações"), this), "BtSalvar");
    BtSalvar->setIcon(Icone(QStringLiteral("document-save"), QStyle::SP_DialogSaveButton));
    BtRestaurar = Nomeado(new QPushButton(QStringLiteral("&Restaurar backup"), this), "BtRestaurar");
    BtRestaurar->setIcon(Icone(QStringLiteral("document-revert"), QStyle::SP_BrowserReload));
    for (QPushButton* b : {BtSalvar, BtRestaurar}) {
        b->setAutoDefault(true);
        b->setIconSize(QSize(24, 24));
        b->setMinimumHeight(40);
    }
    connect(BtSalvar, &QPushButton::clicked, this, &TFm_Principal::BtSalvarClick);
    connect(BtRestaurar, &QPushButton::clicked, this, &TFm_Principal::BtRestaurarClick);
    connect(btPasta_1, &QPushButton::clicked, this, &TFm_Principal::btPasta_1Click);
    connect(btLog_1, &QPushButton::clicked, this, &TFm_Principal::btLog_1Click);
    connect(btRede_1, &QPushButton::clicked, this, &TFm_Principal::btRede_1Click);

    auto* botoes = new QHBoxLayout;
    botoes->addWidget(BtSalvar);
    botoes->addWidget(BtRestaurar);
    auto* janela = new QVBoxLayout(this);
    janela->addWidget(PageControl1);
    janela->addLayout(botoes);
    // The window keeps the size its contents need: no resizing, no maximising.
    janela->setSizeConstraint(QLayout::SetFixedSize);

    // Tab order: the fields of each tab, then the two buttons.
    const QList<QWidget*> ordem{PageControl1, EdGBak, EdHost, EdBase, EdSYSDBAPass, EdDest, btPasta_1, RxCopias,
                                EdLog, btLog_1, EdRede, btRede_1, CBResta, CBServico, CBAlerta,
                                EdEmailSMTP, EdEmailUser, EdEmailPass, EdEmailPort, CBEmailAute, EdEmailFrom,
                                EdEmailDest, EdEmailAssu, EdFTPHost, EdFTPUser, EdFTPPass, EdFTPPort, EdFTPDir,
                                CBFTPAtiv, BtSalvar, BtRestaurar};
    for (qsizetype i = 1; i < ordem.size(); ++i)
        QWidget::setTabOrder(ordem[i - 1], ordem[i]);

    Fm_Recupera = new TFm_Recupera(*this, pastaPrograma.isEmpty() ? PastaPrograma() : pastaPrograma, this);
    FormCreate();
}

TFm_Principal::~TFm_Principal() = default;

void TFm_Principal::MontaDetalhes()
{
    TabSheet1 = Nomeado(new QWidget, "TabSheet1");
    PageControl1->addTab(TabSheet1, QStringLiteral("Detalhes"));
    auto* colunas = new QVBoxLayout(TabSheet1);

    Grupo info(TabSheet1, colunas, QStringLiteral("Informações : "));
    EdGBak = info.Campo(QStringLiteral("Utilitário Gbak:"),
                        Nomeado(new TFilenameEdit(QStringLiteral("Ferramenta Gbak do Firebird (gbak gbak.exe GBAK.EXE)")), "EdGBak"),
                        QStringLiteral("Utilitário de backup do Firebird."));
    EdHost = info.Campo(QStringLiteral("Nome do Servidor:"), Nomeado(new QLineEdit, "EdHost"),
                        QStringLiteral("Localhost:\nLocalhost/porta:\nServidor/porta:\n\\\\Servidor/porta\\"));
    EdBase = info.Campo(QStringLiteral("Banco de Dados:"),
                        Nomeado(new TFilenameEdit(QStringLiteral("Base de Dados FDB (*.FDB *.fdb)")), "EdBase"),
                        QStringLiteral("Banco de dados a ser copiado."));
    EdSYSDBAPass = info.Campo(QStringLiteral("Senha SYSDBA:"), Nomeado(Senha(), "EdSYSDBAPass"),
                              QStringLiteral("Senha do administrador (SYSDBA) do banco de dados."));
    btPasta_1 = BotaoPasta(QStringLiteral("btPasta_1"));
    EdDest = info.Campo(QStringLiteral("Destino do Backup:"), Nomeado(new QLineEdit, "EdDest"),
                        QStringLiteral("Pasta destino do backup."), btPasta_1);
    RxCopias = Nomeado(new QSpinBox, "RxCopias");
    RxCopias->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    QFont negrito = RxCopias->font();
    negrito.setBold(true);
    RxCopias->setFont(negrito);
    info.Campo(QStringLiteral("Cópias a manter:"), RxCopias, QString());

    Grupo rede(TabSheet1, colunas, QStringLiteral("Execução em rede como 'Serviço', especificar pastas para acesso:"));
    btLog_1 = BotaoPasta(QStringLiteral("btLog_1"));
    EdLog = rede.Campo(QStringLiteral("Path no servidor:"), Nomeado(new QLineEdit, "EdLog"),
                       QStringLiteral("Pasta no servidor para criação dos arquivos temporários."), btLog_1);
    btRede_1 = BotaoPasta(QStringLiteral("btRede_1"));
    EdRede = rede.Campo(QStringLiteral("Compartilhamento:"), Nomeado(new QLineEdit, "EdRede"),
                        QStringLiteral("'Caminho' do compartilhamento da pasta anterior."), btRede_1);

    Grupo opcoes(TabSheet1, colunas, QStringLiteral("Opções gerais: "));
    CBResta = opcoes.Campo(QString(), Nomeado(new QCheckBox(QStringLiteral("Restaurar cópia para validar procedimento")), "CBResta"), QString());
    CBServico = opcoes.Campo(QString(), Nomeado(new QCheckBox(QStringLiteral("Execução em modo 'serviço'")), "CBServico"), QString());
    CBAlerta = opcoes.Campo(QString(), Nomeado(new QCheckBox(QStringLiteral("Alertar sobre falhas em janela 'pop-up'")), "CBAlerta"), QString());
    colunas->addStretch();
}

void TFm_Principal::MontaEmail()
{
    TabSheet2 = Nomeado(new QWidget, "TabSheet2");
    PageControl1->addTab(TabSheet2, QStringLiteral("Email"));
    auto* colunas = new QVBoxLayout(TabSheet2);

    Grupo servidor(TabSheet2, colunas, QStringLiteral("Servidor : "));
    EdEmailSMTP = servidor.Campo(QStringLiteral("Servidor SMTP:"), Nomeado(new QLineEdit, "EdEmailSMTP"),
                                 QStringLiteral("Endereço do servidor SMTP."));
    EdEmailUser = servidor.Campo(QStringLiteral("Login / Usuário:"), Nomeado(new QLineEdit, "EdEmailUser"),
                                 QStringLiteral("Nome do usuário da conta de email."));
    EdEmailPass = servidor.Campo(QStringLiteral("Senha:"), Nomeado(Senha(), "EdEmailPass"),
                                 QStringLiteral("Senha da conta de email."));
    EdEmailPort = servidor.Campo(QStringLiteral("Porta SMTP:"), Nomeado(new QLineEdit, "EdEmailPort"),
                                 QStringLiteral("Número da porta de conexão do servidor SMTP."));
    CBEmailAute = servidor.Campo(QString(), Nomeado(new QCheckBox(QStringLiteral("Servidor de saída requer autenticação.")), "CBEmailAute"), QString());

    Grupo mensagem(TabSheet2, colunas, QStringLiteral("Mensagem : "));
    EdEmailFrom = mensagem.Campo(QStringLiteral("Remetente:"), Nomeado(new QLineEdit, "EdEmailFrom"),
                                 QStringLiteral("Endereço de email do remetente."));
    EdEmailDest = mensagem.Campo(QStringLiteral("Destinatário:"), Nomeado(new QLineEdit, "EdEmailDest"),
                                 QStringLiteral("Endereço de email para envio do backup."));
    EdEmailAssu = mensagem.Campo(QStringLiteral("Assunto :"), Nomeado(new QLineEdit, "EdEmailAssu"),
                                 QStringLiteral("Assunto para a mensagem do email."));
    colunas->addStretch();
}

void TFm_Principal::MontaFTP()
{
    TabSheet3 = Nomeado(new QWidget, "TabSheet3");
    PageControl1->addTab(TabSheet3, QStringLiteral("FTP"));
    auto* colunas = new QVBoxLayout(TabSheet3);

    Grupo servidor(TabSheet3, colunas, QStringLiteral("Servidor : "));
    EdFTPHost = servidor.Campo(QStringLiteral("Servidor:"), Nomeado(new QLineEdit, "EdFTPHost"),
                               QStringLiteral("Endereço do servidor FTP."));
    EdFTPUser = servidor.Campo(QStringLiteral("Login / Usuário:"), Nomeado(new QLineEdit, "EdFTPUser"),
                               QStringLiteral("Nome do usuário do serviço FTP."));
    EdFTPPass = servidor.Campo(QStringLiteral("Senha:"), Nomeado(Senha(), "EdFTPPass"), QStringLiteral("Senha da conta FTP."));
    EdFTPPort = servidor.Campo(QStringLiteral("Porta FTP:"), Nomeado(new QLineEdit, "EdFTPPort"),
                               QStringLiteral("Número da porta de conexão FTP."));
    EdFTPDir = servidor.Campo(QStringLiteral("Diretório:"), Nomeado(new QLineEdit, "EdFTPDir"),
                              QStringLiteral("Pasta a ser acessada no servidor FTP."));
    CBFTPAtiv = servidor.Campo(QString(), Nomeado(new QCheckBox(QStringLiteral("FTP em Modo Ativo")), "CBFTPAtiv"), QString());
    colunas->addStretch();
}

void TFm_Principal::FormCreate()
{
    PreparaCampos(this);
    PageControl1->setCurrentWidget(TabSheet1);

    const QFileInfo programa(QCoreApplication::applicationFilePath());
    if (programa.isFile())
        setWindowTitle(windowTitle() + QStringLiteral(" - v.")
                       + programa.lastModified().toLocalTime().toString(FormatoDataCurta()));

    lidos_ = LeConfiguracao(arquivoConfig_);
    MostraValores(lidos_);
}

void TFm_Principal::MostraValores(const Configuracao& c)
{
    EdGBak->setText(c.GBAK);
    EdHost->setText(c.Host);
    EdBase->setText(c.Origem);
    EdSYSDBAPass->setText(DeTextoLocal(c.SYSDBAPass));
    EdDest->setText(c.Destino);
    RxCopias->setValue(c.Copias);
    EdLog->setText(c.Log);
    EdRede->setText(c.Rede);
    CBResta->setChecked(c.Restaura);
    CBServico->setChecked(c.Servico);
    CBAlerta->setChecked(c.Alerta);
    EdEmailSMTP->setText(c.EmailSMTP);
    EdEmailUser->setText(c.EmailUser);
    EdEmailPass->setText(DeTextoLocal(c.EmailPass));
    EdEmailPort->setText(c.EmailPort);
    CBEmailAute->setChecked(c.EmailAute);
    EdEmailFrom->setText(c.EmailFrom);
    EdEmailDest->setText(c.EmailDest);
    EdEmailAssu->setText(c.EmailAssu);
    EdFTPHost->setText(c.FTPHost);
    EdFTPUser->setText(c.FTPUser);
    EdFTPPass->setText(DeTextoLocal(c.FTPPass));
    EdFTPPort->setText(c.FTPPort);
    EdFTPDir->setText(c.FTPDir);
    CBFTPAtiv->setChecked(c.FTPAtiv);
}

Configuracao TFm_Principal::ValoresDosCampos() const
{
    Configuracao c = lidos_;
    c.GBAK = EdGBak->text();
    c.Host = EdHost->text();
    c.Origem = EdBase->text();
    c.SYSDBAPass = ParaTextoLocal(EdSYSDBAPass->text());
    c.Destino = EdDest->text();
    c.Copias = RxCopias->value();
    c.Log = EdLog->text();
    c.Rede = EdRede->text();
    c.Restaura = CBResta->isChecked();
    c.Servico = CBServico->isChecked();
    c.Alerta = CBAlerta->isChecked();
    c.EmailSMTP = EdEmailSMTP->text();
    c.EmailUser = EdEmailUser->text();
    c.EmailPass = ParaTextoLocal(EdEmailPass->text());
    c.EmailPort = EdEmailPort->text();
    c.EmailAute = CBEmailAute->isChecked();
    c.EmailFrom = EdEmailFrom->text();
    c.EmailDest = EdEmailDest->text();
    c.EmailAssu = EdEmailAssu->text();
    c.FTPHost = EdFTPHost->text();
    c.FTPUser = EdFTPUser->text();
    c.FTPPass = ParaTextoLocal(EdFTPPass->text());
    c.FTPPort = EdFTPPort->text();
    c.FTPDir = EdFTPDir->text();
    c.FTPAtiv = CBFTPAtiv->isChecked();
    return c;
}

void TFm_Principal::BtSalvarClick()
{
    Configuracao c = ValoresDosCampos();
    if (const std::optional<FalhaValidacao> falha = ValidaConfiguracao(c)) {
        // A field on a hidden tab cannot take the focus: the tab first.
        PageControl1->setCurrentWidget(falha->aba == AbaConfiguracao::Email ? TabSheet2 : TabSheet3);
        QWidget* campo = nullptr;
        switch (falha->campo) {
        case CampoConfiguracao::EmailPort: campo = EdEmailPort; break;
        case CampoConfiguracao::FTPPort: campo = EdFTPPort; break;
        case CampoConfiguracao::EmailSMTP: campo = EdEmailSMTP; break;
        case CampoConfiguracao::FTPHost: campo = EdFTPHost; break;
        }
        campo->setFocus();
        Confirma(falha->mensagem, QString::fromUtf8(OpcaoVerificar), QString());
        return;
    }

    // The passwords stay in clear in their boxes: the file layer scrambles them
    // on their way out, so a save that fails and is tried again never scrambles
    // a scrambled text.
    QString erro;
    try {
        GravaConfiguracao(arquivoConfig_, c);
    } catch (const Erro& e) {
        erro = e.texto();
    }
    // The boxes show what was (or was meant to be) stored: ":" and separators.
    EdHost->setText(c.Host);
    EdDest->setText(c.Destino);
    EdLog->setText(c.Log);
    EdRede->setText(c.Rede);
    if (!erro.isEmpty()) {
        // Nothing typed is lost: the window stays open for another try.
        Confirma(QStringLiteral("Configurações NÃO foram salvas.\r%1").arg(erro), QString::fromUtf8(OpcaoVerificar), QString());
        return;
    }
    lidos_ = c;
    close();
}

void TFm_Principal::BtRestaurarClick()
{
    if (Confirma(QStringLiteral("ATENÇÃO! Está rotina irá DESTRUIR a base existente, sobrepondo com a base recuperada de um backup."),
                 QStringLiteral("&Ok, entendi."), QStringLiteral("&Revisar processo."))) {
        Fm_Recupera->show();
        Fm_Recupera->raise();
        Fm_Recupera->activateWindow();
    }
}

void TFm_Principal::btPasta_1Click() { EscolhePasta(QStringLiteral("para salvar o arquivo:"), EdDest); }
void TFm_Principal::btLog_1Click() { EscolhePasta(QStringLiteral("para o arquivo de registro:"), EdLog); }
void TFm_Principal::btRede_1Click() { EscolhePasta(QStringLiteral("compartilhada em rede:"), EdRede); }

void TFm_Principal::EscolhePasta(const QString& sufixo, QLineEdit* edit)
{
    const QString caminho = SelecionaPasta(this, QStringLiteral("Informe pasta ") + sufixo);
    if (!caminho.isEmpty())
        edit->setText(caminho);
}

bool TFm_Principal::FormKeyPress(int tecla) { return EnterComoTab(this, tecla); }

void TFm_Principal::keyPressEvent(QKeyEvent* evento)
{
    // Buttons take Enter themselves (they press); the fields pass it up to here.
    if (!FormKeyPress(evento->key()))
        QWidget::keyPressEvent(evento);
}

void TFm_Principal::closeEvent(QCloseEvent* evento)
{
    // Closing the settings window ends the program, the restore window with it.
    Fm_Recupera->close();
    QWidget::closeEvent(evento);
}
