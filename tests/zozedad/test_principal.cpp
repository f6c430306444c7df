// The settings window on the offscreen platform: what it shows, how it moves the
// focus, and what it writes (read back by Python's configparser, an independent
// reader of the file).
#include "Dialogos.h"
#include "Un_Principal.h"
#include "Un_Recupera.h"
#include "apoio/Arquivos.h"
#include "apoio/Processos.h"
#include "apoio/Texto.h"
#include "configuracao/Cripto.h"
#include "configuracao/SenhaGuardada.h"
#include "janelas/CamposFoco.h"
#include "janelas/TFilenameEdit.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

#include <memory>

namespace {

// The keys of section Sistema in file order, each with its value's bytes, as
// Python's configparser reads them.
QList<QPair<QString, QByteArray>> LidoPeloPython(const QString& arquivo)
{
    const QString script = QStringLiteral(
        "import configparser, sys\n"
        "c = configparser.ConfigParser(interpolation=None, strict=True)\n"
        "c.optionxform = str\n"
        "c.read(sys.argv[1], encoding='latin-1')\n"
        "for k, v in c['Sistema'].items(): print(k + '\\t' + v.encode('latin-1').hex())\n");
    QByteArray saida;
    EXPECT_EQ(Executa(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, arquivo}, &saida), 0) << saida.constData();
    QList<QPair<QString, QByteArray>> chaves;
    for (const QByteArray& linha : saida.split('\n'))
        if (!linha.isEmpty())
            chaves.append({QString::fromLatin1(linha.split('\t').value(0)), QByteArray::fromHex(linha.split('\t').value(1))});
    return chaves;
}

// What the profile reader does with a value before the password layer sees it:
// blanks at the ends and one enclosing pair of quotes go.
QByteArray SenhaDoValor(QByteArray valor)
{
    valor = valor.trimmed();
    if (valor.size() >= 2 && (valor.front() == '"' || valor.front() == '\'') && valor.back() == valor.front())
        valor = valor.mid(1, valor.size() - 2);
    return Cripto("D", DeFormaGuardada(valor));
}

class Principal : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString pasta;
    QString arquivo;
    std::unique_ptr<TFm_Principal> janela;

    void SetUp() override
    {
        QApplication::setQuitOnLastWindowClosed(false);
        pasta = PastaTeste(dir) + QLatin1Char('/');
        arquivo = pasta + QStringLiteral("CONFIG.ini");
    }

    void Abre()
    {
        janela = std::make_unique<TFm_Principal>(arquivo, pasta);
        janela->show();
        janela->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(janela.get()));
    }

    // Types the text into the box as a user would, replacing what it held.
    static void Digita(QLineEdit* edit, const QString& texto)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        // One key press per character, with its text: accents and symbols too.
        for (const QChar c : texto)
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    // The field the focus is in, by the name of the control that owns it.
    static QString NomeDoFocoDe(QWidget* foco)
    {
        for (QWidget* w = foco; w; w = w->parentWidget())
            if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")))
                return w->objectName();
        return {};
    }
    static QString NomeDoFoco() { return NomeDoFocoDe(QApplication::focusWidget()); }

    QByteArray Arquivo() const { return LeArquivo(arquivo); }
};

TEST_F(Principal, PastaVaziaMostraOsPadroes)
{
    Abre();
    const TFm_Principal& j = *janela;
    EXPECT_EQ(j.PageControl1->currentWidget(), j.TabSheet1);
    EXPECT_TRUE(j.windowTitle().startsWith(QStringLiteral("Zozedad Backup - www.vaultrun.com.br - v."))) << j.windowTitle().toStdString();
    const struct {
        QString texto;
        const char* esperado;
    } textos[] = {
        {j.EdGBak->text(), ""},      {j.EdHost->text(), "localhost:"}, {j.EdBase->text(), ""},
        {j.EdDest->text(), ""},      {j.EdLog->text(), ""},            {j.EdRede->text(), ""},
        {j.EdEmailSMTP->text(), ""}, {j.EdEmailUser->text(), ""},      {j.EdEmailPass->text(), ""},
        {j.EdEmailPort->text(), "587"}, {j.EdEmailFrom->text(), ""},   {j.EdEmailDest->text(), ""},
        {j.EdEmailAssu->text(), ""}, {j.EdFTPHost->text(), ""},        {j.EdFTPUser->text(), ""},
        {j.EdFTPPass->text(), ""},   {j.EdFTPPort->text(), "21"},      {j.EdFTPDir->text(), ""},
        // The account the installations made before it was a setting used.
        {j.EdSYSDBAPass->text(), "bluefjord"},
    };
    for (const auto& t : textos)
        EXPECT_EQ(t.texto, QString::fromUtf8(t.esperado));
    EXPECT_EQ(j.RxCopias->value(), 365);
    for (QCheckBox* marcada : {j.CBResta, j.CBServico, j.CBAlerta, j.CBEmailAute})
        EXPECT_TRUE(marcada->isChecked()) << marcada->objectName().toStdString();
    EXPECT_FALSE(j.CBFTPAtiv->isChecked());
    for (QLineEdit* senha : {j.EdEmailPass, j.EdFTPPass, j.EdSYSDBAPass})
        EXPECT_EQ(senha->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(QFile::exists(arquivo)) << "opening must not create the file";
}

TEST_F(Principal, LegendasEDicas)
{
    Abre();
    const TFm_Principal& j = *janela;
    EXPECT_EQ(j.PageControl1->tabText(0), QStringLiteral("Detalhes"));
    EXPECT_EQ(j.PageControl1->tabText(1), QStringLiteral("Email"));
    EXPECT_EQ(j.PageControl1->tabText(2), QStringLiteral("FTP"));
    EXPECT_EQ(j.BtSalvar->text(), QStringLiteral("&Salvar configurações"));
    EXPECT_EQ(j.BtRestaurar->text(), QStringLiteral("&Restaurar backup"));
    const struct {
        const QWidget* campo;
        const char* dica;
    } dicas[] = {
        {j.EdGBak, "Utilitário de backup do Firebird."},
        {j.EdHost, "Localhost:\nLocalhost/porta:\nServidor/porta:\n\\\\Servidor/porta\\"},
        {j.EdBase, "Banco de dados a ser copiado."},
        {j.EdDest, "Pasta destino do backup."},
        {j.EdLog, "Pasta no servidor para criação dos arquivos temporários."},
        {j.EdRede, "'Caminho' do compartilhamento da pasta anterior."},
        {j.EdEmailSMTP, "Endereço do servidor SMTP."},
        {j.EdEmailUser, "Nome do usuário da conta de email."},
        {j.EdEmailPass, "Senha da conta de email."},
        {j.EdEmailPort, "Número da porta de conexão do servidor SMTP."},
        {j.EdEmailFrom, "Endereço de email do remetente."},
        {j.EdEmailDest, "Endereço de email para envio do backup."},
        {j.EdEmailAssu, "Assunto para a mensagem do email."},
        {j.EdFTPHost, "Endereço do servidor FTP."},
        {j.EdFTPUser, "Nome do usuário do serviço FTP."},
        {j.EdFTPPass, "Senha da conta FTP."},
        {j.EdFTPPort, "Número da porta de conexão FTP."},
        {j.EdFTPDir, "Pasta a ser acessada no servidor FTP."},
    };
    for (const auto& d : dicas)
        EXPECT_EQ(d.campo->toolTip(), QString::fromUtf8(d.dica)) << d.campo->objectName().toStdString();
    const struct {
        const QCheckBox* caixa;
        const char* legenda;
    } caixas[] = {
        {j.CBResta, "Restaurar cópia para validar procedimento"},
        {j.CBServico, "Execução em modo 'serviço'"},
        {j.CBAlerta, "Alertar sobre falhas em janela 'pop-up'"},
        {j.CBEmailAute, "Servidor de saída requer autenticação."},
        {j.CBFTPAtiv, "FTP em Modo Ativo"},
    };
    for (const auto& c : caixas)
        EXPECT_EQ(c.caixa->text(), QString::fromUtf8(c.legenda));
}

TEST_F(Principal, IdaEVoltaDeTodosOsCampos)
{
    // Keys it does not show are kept where they are.
    ASSERT_TRUE(GravaArquivo(arquivo, "[Sistema]\r\nTBckpagendadoBASE=120\r\nTRestagendadoBASE=95\r\n"));
    Abre();
    TFm_Principal& j = *janela;
    const QString senhaEmail = QStringLiteral("çÃo€ #;=\"' x ");
    const QString senhaFTP = QStringLiteral("  'entre aspas'  ");
    const QString senhaBanco = QStringLiteral("Sênha!@#");
    const struct {
        QLineEdit* campo;
        QString texto;
        const char* chave;
        QString gravado;  // as the file holds it ("" for a password)
    } campos[] = {
        {j.EdGBak->Edit(), QStringLiteral("/opt/firebird/bin/gbak"), "GBAK", QStringLiteral("/opt/firebird/bin/gbak")},
        {j.EdHost, QStringLiteral("servidor/3050"), "Host", QStringLiteral("servidor/3050:")},
        {j.EdBase->Edit(), QStringLiteral("C:\\Dados\\BASE.FDB"), "Origem", QStringLiteral("C:\\Dados\\BASE.FDB")},
        {j.EdSYSDBAPass, senhaBanco, "SYSDBAPass", QString()},
        {j.EdDest, QStringLiteral("/srv/cópias"), "Destino", QStringLiteral("/srv/cópias/")},
        {j.EdLog, QStringLiteral("D:\\Temp\\"), "Log", QStringLiteral("D:\\Temp\\")},
        {j.EdRede, QStringLiteral("//srv/temp"), "Rede", QStringLiteral("//srv/temp/")},
        {j.EdEmailSMTP, QStringLiteral("smtp.exemplo.com"), "EmailSMTP", QStringLiteral("smtp.exemplo.com")},
        {j.EdEmailUser, QStringLiteral("joão"), "EmailUser", QStringLiteral("joão")},
        {j.EdEmailPass, senhaEmail, "EmailPass", QString()},
        {j.EdEmailPort, QStringLiteral("0x24B"), "EmailPort", QStringLiteral("0x24B")},
        {j.EdEmailFrom, QStringLiteral("de@exemplo.com"), "EmailFrom", QStringLiteral("de@exemplo.com")},
        {j.EdEmailDest, QStringLiteral("para@exemplo.com"), "EmailDest", QStringLiteral("para@exemplo.com")},
        {j.EdEmailAssu, QStringLiteral("Backup diário"), "EmailAssu", QStringLiteral("Backup diário")},
        {j.EdFTPHost, QStringLiteral("ftp.exemplo.com"), "FTPHost", QStringLiteral("ftp.exemplo.com")},
        {j.EdFTPUser, QStringLiteral("ftpuser"), "FTPUser", QStringLiteral("ftpuser")},
        {j.EdFTPPass, senhaFTP, "FTPPass", QString()},
        {j.EdFTPPort, QStringLiteral("2121"), "FTPPort", QStringLiteral("2121")},
        {j.EdFTPDir, QStringLiteral("/copias"), "FTPDir", QStringLiteral("/copias")},
    };
    for (const auto& c : campos) {
        for (QWidget* aba : {j.TabSheet1, j.TabSheet2, j.TabSheet3})
            if (aba->isAncestorOf(c.campo))
                j.PageControl1->setCurrentWidget(aba);
        Digita(c.campo, c.texto);
        ASSERT_EQ(c.campo->text(), c.texto) << c.chave;
    }
    j.PageControl1->setCurrentWidget(j.TabSheet1);
    j.RxCopias->setFocus();
    j.RxCopias->selectAll();
    QTest::keyClicks(j.RxCopias, QStringLiteral("7"));
    QTest::keyClick(j.CBResta, Qt::Key_Space);    // off
    QTest::keyClick(j.CBAlerta, Qt::Key_Space);   // off
    j.PageControl1->setCurrentWidget(j.TabSheet2);
    QTest::keyClick(j.CBEmailAute, Qt::Key_Space);  // off
    j.PageControl1->setCurrentWidget(j.TabSheet3);
    QTest::keyClick(j.CBFTPAtiv, Qt::Key_Space);    // on

    RespondeDialogos dialogos({});
    QTest::mouseClick(j.BtSalvar, Qt::LeftButton);
    EXPECT_TRUE(dialogos.mensagens.isEmpty()) << dialogos.mensagens.join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(j.isVisible()) << "a save closes the window";

    const auto lidas = LidoPeloPython(arquivo);
    QStringList ordem;
    for (const auto& [chave, valor] : lidas)
        ordem << chave;
    EXPECT_EQ(ordem, QStringList({QStringLiteral("TBckpagendadoBASE"), QStringLiteral("TRestagendadoBASE")}) + NomesDasChaves());
    QMap<QString, QByteArray> valores;
    for (const auto& [chave, valor] : lidas)
        valores[chave] = valor;
    EXPECT_EQ(valores.value(QStringLiteral("TBckpagendadoBASE")), "120");
    EXPECT_EQ(valores.value(QStringLiteral("TRestagendadoBASE")), "95");
    for (const auto& c : campos) {
        const QByteArray valor = valores.value(QLatin1String(c.chave));
        if (c.gravado.isEmpty()) {
            EXPECT_NE(valor, c.texto.toUtf8()) << c.chave << ": stored in clear";
            EXPECT_EQ(QString::fromUtf8(SenhaDoValor(valor)), c.texto) << c.chave;
        } else {
            EXPECT_EQ(QString::fromUtf8(valor), c.gravado) << c.chave;
        }
    }
    const struct {
        const char* chave;
        const char* valor;
    } outros[] = {{"Copias", "7"}, {"Restaura", "0"}, {"Servico", "1"}, {"Alerta", "0"}, {"EmailAute", "0"}, {"FTPAtiv", "1"}};
    for (const auto& o : outros)
        EXPECT_EQ(valores.value(QLatin1String(o.chave)), QByteArray(o.valor)) << o.chave;

    // The next start shows every box as it was saved, passwords in clear.
    janela.reset();
    Abre();
    TFm_Principal& k = *janela;
    const QLineEdit* reaberto[] = {k.EdGBak->Edit(), k.EdHost, k.EdBase->Edit(), k.EdSYSDBAPass, k.EdDest, k.EdLog,
                                   k.EdRede, k.EdEmailSMTP, k.EdEmailUser, k.EdEmailPass, k.EdEmailPort,
                                   k.EdEmailFrom, k.EdEmailDest, k.EdEmailAssu, k.EdFTPHost, k.EdFTPUser,
                                   k.EdFTPPass, k.EdFTPPort, k.EdFTPDir};
    for (size_t i = 0; i < std::size(campos); ++i)
        EXPECT_EQ(reaberto[i]->text(), campos[i].gravado.isEmpty() ? campos[i].texto : campos[i].gravado) << campos[i].chave;
    EXPECT_EQ(k.RxCopias->value(), 7);
    EXPECT_FALSE(k.CBResta->isChecked());
    EXPECT_TRUE(k.CBServico->isChecked());
    EXPECT_FALSE(k.CBAlerta->isChecked());
    EXPECT_FALSE(k.CBEmailAute->isChecked());
    EXPECT_TRUE(k.CBFTPAtiv->isChecked());
}

TEST_F(Principal, SeparadoresEDoisPontosAcrescentados)
{
    const struct {
        const char* host;
        const char* hostGravado;
        const char* pasta;
        const char* pastaGravada;
    } casos[] = {
        {"servidor", "servidor:", "/srv/backup", "/srv/backup/"},
        {"localhost:", "localhost:", "/srv/backup/", "/srv/backup/"},
        {"", "", "", ""},
        {"srv/3050", "srv/3050:", "C:\\Backup\\", "C:\\Backup\\"},
        {"\\\\srv/3050\\", "\\\\srv/3050\\:", "/", "/"},
    };
    for (const auto& caso : casos) {
        QFile::remove(arquivo);
        Abre();
        TFm_Principal& j = *janela;
        Digita(j.EdHost, QString::fromUtf8(caso.host));
        for (QLineEdit* p : {j.EdDest, j.EdLog, j.EdRede})
            Digita(p, QString::fromUtf8(caso.pasta));
        j.BtSalvar->click();
        const QByteArray texto = Arquivo();
        EXPECT_TRUE(texto.contains("\r\nHost=" + QByteArray(caso.hostGravado) + "\r\n")) << texto.constData();
        for (const char* chave : {"Destino", "Log", "Rede"})
            EXPECT_TRUE(texto.contains("\r\n" + QByteArray(chave) + "=" + QByteArray(caso.pastaGravada) + "\r\n"))
                << chave << " " << texto.constData();
        // The boxes show what was stored.
        EXPECT_EQ(j.EdHost->text(), QString::fromUtf8(caso.hostGravado));
        EXPECT_EQ(j.EdDest->text(), QString::fromUtf8(caso.pastaGravada));
    }
}

// One failing check per row: the tab it opens, the field it focuses, its alert;
// nothing is written and the passwords stay as typed.
TEST_F(Principal, AsQuatroVerificacoes)
{
    const struct {
        QString emailDest, emailPort, emailSMTP, ftpHost, ftpPort, ftpDir;
        const char* aba;
        const char* campo;
        const char* mensagem;
    } casos[] = {
        {"b@x", "587 ", "smtp", "", "21", "", "TabSheet2", "EdEmailPort", "Email: número de porta inválido."},
        {"", "587", "", "ftp.x", "vinte", "/d", "TabSheet3", "EdFTPPort", "FTP: número de porta inválido."},
        {"b@x", "587", "", "ftp.x", "21", "", "TabSheet2", "EdEmailSMTP", "Email: configurações incompletas."},
        {"", "x", "", "ftp.x", "21", "", "TabSheet3", "EdFTPHost", "FTP: configurações incompletas."},
    };
    for (const auto& caso : casos) {
        QFile::remove(arquivo);
        Abre();
        TFm_Principal& j = *janela;
        const QString senha = QStringLiteral("sénha");
        for (QLineEdit* e : {j.EdEmailUser, j.EdEmailFrom, j.EdEmailAssu, j.EdFTPUser})
            e->setText(QStringLiteral("preenchido"));
        j.EdEmailPass->setText(senha);
        j.EdFTPPass->setText(senha);
        j.EdEmailDest->setText(caso.emailDest);
        j.EdEmailPort->setText(caso.emailPort);
        j.EdEmailSMTP->setText(caso.emailSMTP);
        j.EdFTPHost->setText(caso.ftpHost);
        j.EdFTPPort->setText(caso.ftpPort);
        j.EdFTPDir->setText(caso.ftpDir);
        j.BtSalvar->setFocus();

        QString abaNoAlerta, focoNoAlerta;
        QTimer espia;
        QObject::connect(&espia, &QTimer::timeout, [&] {
            if (abaNoAlerta.isEmpty() && QApplication::activeModalWidget()) {
                abaNoAlerta = j.PageControl1->currentWidget()->objectName();
                focoNoAlerta = j.focusWidget() ? NomeDoFocoDe(j.focusWidget()) : QString();
            }
        });
        espia.start(1);
        RespondeDialogos dialogos({QStringLiteral("&Verificar configuração.")});
        j.BtSalvar->click();
        EXPECT_EQ(dialogos.mensagens, QStringList{QString::fromUtf8(caso.mensagem)});
        EXPECT_TRUE(dialogos.inesperados.isEmpty());
        EXPECT_EQ(abaNoAlerta, QLatin1String(caso.aba)) << caso.mensagem;
        EXPECT_EQ(focoNoAlerta, QLatin1String(caso.campo)) << caso.mensagem;
        EXPECT_TRUE(j.isVisible());
        EXPECT_FALSE(QFile::exists(arquivo)) << caso.mensagem;
        EXPECT_EQ(j.EdEmailPass->text(), senha);
        EXPECT_EQ(j.EdFTPPass->text(), senha);
    }
}

const QStringList OrdemDetalhes{
    QStringLiteral("EdGBak"),   QStringLiteral("EdHost"),    QStringLiteral("EdBase"),   QStringLiteral("EdSYSDBAPass"),
    QStringLiteral("EdDest"),   QStringLiteral("btPasta_1"), QStringLiteral("RxCopias"), QStringLiteral("EdLog"),
    QStringLiteral("btLog_1"),  QStringLiteral("EdRede"),    QStringLiteral("btRede_1"), QStringLiteral("CBResta"),
    QStringLiteral("CBServico"), QStringLiteral("CBAlerta"), QStringLiteral("BtSalvar"), QStringLiteral("BtRestaurar")};

// Tab visits the fields of the open tab in order, then the buttons; Enter in a
// field or check box does the same and leaves the field as it was.
TEST_F(Principal, OrdemDeTabulacaoEEnter)
{
    for (const int tecla : {int(Qt::Key_Tab), int(Qt::Key_Return), int(Qt::Key_Enter)}) {
        Abre();
        TFm_Principal& j = *janela;
        j.EdGBak->setFocus();
        QStringList visitados{NomeDoFoco()};
        // Enter on a button would press it: Enter walks the fields only.
        const qsizetype passos = tecla == Qt::Key_Tab ? OrdemDetalhes.size() - 1 : OrdemDetalhes.indexOf(QStringLiteral("BtSalvar"));
        for (qsizetype i = 0; i < passos; ++i) {
            QWidget* foco = QApplication::focusWidget();
            ASSERT_NE(foco, nullptr);
            // Enter on the folder buttons presses them: step over them with Tab.
            const bool botao = qobject_cast<QPushButton*>(foco) != nullptr;
            QTest::keyClick(foco, botao ? Qt::Key_Tab : Qt::Key(tecla));
            visitados << NomeDoFoco();
        }
        EXPECT_EQ(visitados, OrdemDetalhes.mid(0, passos + 1)) << "key " << tecla;
        EXPECT_EQ(j.EdGBak->text(), QString()) << "Enter must not reach the box as text";
        EXPECT_TRUE(j.CBResta->isChecked()) << "Enter must not tick a check box";
        EXPECT_TRUE(j.isVisible());
        EXPECT_FALSE(QFile::exists(arquivo));
    }
}

TEST_F(Principal, EnterNoBotaoDePastaPressiona)
{
    Abre();
    TFm_Principal& j = *janela;
    QStringList titulos;
    j.SelecionaPasta = [&titulos](QWidget*, const QString& titulo) {
        titulos << titulo;
        return titulos.size() == 1 ? QStringLiteral("/srv/escolhida") : QString();
    };
    j.EdDest->setText(QStringLiteral("/antiga"));
    j.btPasta_1->setFocus();
    QTest::keyClick(j.btPasta_1, Qt::Key_Return);
    EXPECT_EQ(j.EdDest->text(), QStringLiteral("/srv/escolhida"));
    // A cancelled browse keeps the box.
    j.EdLog->setText(QStringLiteral("/log"));
    j.btLog_1->click();
    EXPECT_EQ(j.EdLog->text(), QStringLiteral("/log"));
    j.btRede_1->click();
    EXPECT_EQ(titulos, (QStringList{QStringLiteral("Informe pasta para salvar o arquivo:"),
                                    QStringLiteral("Informe pasta para o arquivo de registro:"),
                                    QStringLiteral("Informe pasta compartilhada em rede:")}));
}

// Each kind of field turns light yellow with the focus and returns to its own
// colour without it: boxes the window colour, check boxes the button face.
TEST_F(Principal, CoresDoFoco)
{
    Abre();
    TFm_Principal& j = *janela;
    const struct {
        QWidget* campo;
        QPalette::ColorRole papel;
        QColor normal;
    } campos[] = {
        {j.EdHost, QPalette::Base, QApplication::palette(j.EdHost).color(QPalette::Base)},
        {j.EdGBak->Edit(), QPalette::Base, QApplication::palette(j.EdGBak->Edit()).color(QPalette::Base)},
        {j.RxCopias, QPalette::Base, QApplication::palette(j.RxCopias).color(QPalette::Base)},
        {j.EdSYSDBAPass, QPalette::Base, QApplication::palette(j.EdSYSDBAPass).color(QPalette::Base)},
        {j.CBResta, QPalette::Window, QApplication::palette(j.CBResta).color(QPalette::Button)},
    };
    for (const auto& c : campos) {
        c.campo->setFocus();
        EXPECT_EQ(c.campo->palette().color(c.papel), CorFoco) << c.campo->objectName().toStdString();
        j.BtSalvar->setFocus();
        EXPECT_EQ(c.campo->palette().color(c.papel), c.normal) << c.campo->objectName().toStdString();
    }
    // A field dressed as a notice keeps its colour.
    QPalette aviso = j.EdFTPDir->palette();
    const QColor corAviso = QApplication::palette(j.EdFTPDir).color(QPalette::ToolTipBase);
    aviso.setColor(QPalette::Base, corAviso);
    j.EdFTPDir->setPalette(aviso);
    j.PageControl1->setCurrentWidget(j.TabSheet3);
    j.EdFTPDir->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), j.EdFTPDir);
    EXPECT_EQ(j.EdFTPDir->palette().color(QPalette::Base), corAviso);
}

TEST_F(Principal, FecharSemSalvarNaoGravaNada)
{
    for (const bool existia : {false, true}) {
        QFile::remove(arquivo);
        const QByteArray antes = "[Sistema]\r\nHost=srv:\r\nTBckpagendadoBASE=3\r\n";
        if (existia) {
            ASSERT_TRUE(GravaArquivo(arquivo, antes));
        }
        Abre();
        janela->EdHost->setText(QStringLiteral("outro"));
        janela->EdEmailPass->setText(QStringLiteral("senha"));
        janela->close();
        EXPECT_FALSE(janela->isVisible());
        EXPECT_EQ(QFile::exists(arquivo), existia);
        if (existia) {
            EXPECT_EQ(Arquivo(), antes);
        }
    }
}

// A refused write: the window says so and stays open with every box as typed.
TEST_F(Principal, GravacaoRecusadaNaoPerdeNada)
{
    DiscoPequeno disco(PastaTeste(dir), QStringLiteral("1m"));
    if (!disco.ok())
        GTEST_SKIP() << "mounting a small disk is not permitted here";
    Abre();
    TFm_Principal& j = *janela;
    const QString senha = QStringLiteral("ção#1");
    j.EdFTPHost->setText(QStringLiteral("ftp.x"));
    j.EdFTPUser->setText(QStringLiteral("u"));
    j.EdFTPPass->setText(senha);
    j.EdFTPDir->setText(QStringLiteral("/d"));
    j.EdEmailPass->setText(senha);
    ASSERT_TRUE(disco.SomenteLeitura());
    {
        RespondeDialogos dialogos({QStringLiteral("&Verificar configuração.")});
        j.BtSalvar->click();
        ASSERT_EQ(dialogos.mensagens.size(), 1);
        EXPECT_TRUE(dialogos.mensagens.first().contains(QStringLiteral("Impossível gravar para"))) << dialogos.mensagens.first().toStdString();
    }
    EXPECT_TRUE(j.isVisible());
    EXPECT_EQ(j.EdFTPPass->text(), senha);
    EXPECT_EQ(j.EdEmailPass->text(), senha);
}

TEST_F(Principal, SegundaGravacaoNaoEmbaralhaDeNovo)
{
    // A save that is repeated (the window kept open by a failure, or a user who
    // saves twice) stores the same password each time.
    Abre();
    TFm_Principal& j = *janela;
    const QString senha = QStringLiteral("ção#1");
    j.EdEmailPass->setText(senha);
    j.BtSalvar->click();
    const QByteArray primeiro = Arquivo();
    j.show();
    j.BtSalvar->click();
    EXPECT_EQ(Arquivo(), primeiro);
    EXPECT_EQ(j.EdEmailPass->text(), senha);
    janela.reset();
    Abre();
    EXPECT_EQ(janela->EdEmailPass->text(), senha);
}

TEST_F(Principal, RestaurarPedeConfirmacaoELevaOsCamposAtuais)
{
    Abre();
    TFm_Principal& j = *janela;
    j.EdBase->setText(QStringLiteral("/dados/BASE.FDB"));
    j.EdHost->setText(QStringLiteral("srv"));  // not saved: no colon yet
    j.EdDest->setText(QStringLiteral("/copias/"));
    {
        RespondeDialogos dialogos({QStringLiteral("&Revisar processo.")});
        j.BtRestaurar->click();
        EXPECT_EQ(dialogos.mensagens, QStringList{QStringLiteral("ATENÇÃO! Está rotina irá DESTRUIR a base existente, "
                                                                 "sobrepondo com a base recuperada de um backup.")});
        EXPECT_FALSE(j.Fm_Recupera->isVisible());
    }
    RespondeDialogos dialogos({QStringLiteral("&Ok, entendi.")});
    j.BtRestaurar->click();
    TFm_Recupera& r = *j.Fm_Recupera;
    EXPECT_TRUE(r.isVisible());
    EXPECT_TRUE(j.isVisible()) << "the settings window stays open beside it";
    EXPECT_EQ(r.FeBase->text(), QStringLiteral("/dados/BASE.FDB"));
    EXPECT_EQ(r.Edit1->text(), QStringLiteral("srv"));
    EXPECT_EQ(r.FeBackup->text(), QString());
    EXPECT_EQ(r.FeBackup->InitialDir, QStringLiteral("/copias/"));
    EXPECT_TRUE(r.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(QFile::exists(arquivo));
}

}  // namespace
