#include "transferencias/EnvioEmail.h"

#include "transferencias/ComposicaoEmail.h"
#include "transferencias/Url.h"
#include "plataforma/TextoLocal.h"

#include <QHostInfo>

namespace {
QString Falha(const QString& texto)
{
    return QStringLiteral("; Email: ") + texto;
}

size_t Le(char* destino, size_t tamanho, size_t itens, void* dados)
{
    const qint64 n = static_cast<ComposicaoEmail*>(dados)->Le(destino, static_cast<qint64>(tamanho * itens));
    return n < 0 ? CURL_READFUNC_ABORT : static_cast<size_t>(n);
}

struct ListaCurl {
    curl_slist* lista = nullptr;
    ~ListaCurl() { curl_slist_free_all(lista); }
};
}

QString EnderecoSmtp(const QString& configurado)
{
    const qsizetype abre = configurado.indexOf(QLatin1Char('<'));
    if (abre >= 0) {
        const qsizetype fecha = configurado.indexOf(QLatin1Char('>'), abre + 1);
        if (fecha >= 0)
            return configurado.mid(abre + 1, fecha - abre - 1);
    }
    return configurado;
}

QString EnviaEmail(const PedidoEmail& pedido)
{
    QString destinatario = pedido.destinatario;
    destinatario.remove(QLatin1Char('"'));
    const int porta = static_cast<quint16>(pedido.porta);
    const auto servidor = UrlServidor(porta == 465 ? "smtps" : "smtp", pedido.servidor, porta);
    if (!servidor)
        return Falha(QStringLiteral("servidor ou porta inválidos: \"%1\", porta %2").arg(pedido.servidor).arg(porta));

    ComposicaoEmail mensagem({pedido.remetente, destinatario, pedido.assunto, pedido.arquivo, {}});
    const QString erroAbre = mensagem.Abre();
    if (!erroAbre.isEmpty())
        return Falha(erroAbre);

    SessaoCurl sessao;
    CURL* c = sessao.handle();
    if (!c)
        return Falha(QStringLiteral("não foi possível iniciar a biblioteca de transferência"));
    // The URL's path is the name given in EHLO: this machine's.
    const QByteArray url = *servidor + '/' + CodificaCaminho(QHostInfo::localHostName());
    const QByteArray de = '<' + EnderecoSmtp(pedido.remetente).toUtf8() + '>';
    ListaCurl para;
    para.lista = curl_slist_append(nullptr, ('<' + EnderecoSmtp(destinatario).toUtf8() + '>').constData());
    const QByteArray usuario = ParaTextoLocal(pedido.usuario);

    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, de.constData());
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, para.lista);
    // Opportunistic encryption: STARTTLS when offered, plain otherwise; a
    // self-signed certificate is accepted as mail servers commonly use them.
    curl_easy_setopt(c, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_TRY));
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 0L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 0L);
    if (pedido.autentica) {
        curl_easy_setopt(c, CURLOPT_USERNAME, usuario.constData());
        curl_easy_setopt(c, CURLOPT_PASSWORD, pedido.senha.constData());
        curl_easy_setopt(c, CURLOPT_LOGIN_OPTIONS, "AUTH=LOGIN");
    }
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(c, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(mensagem.Tamanho()));
    curl_easy_setopt(c, CURLOPT_READFUNCTION, &Le);
    curl_easy_setopt(c, CURLOPT_READDATA, &mensagem);
    curl_easy_setopt(c, CURLOPT_UPLOAD_BUFFERSIZE, 512L * 1024L);
    sessao.DefineTempos(pedido.tempos);
    sessao.DefineProgresso(pedido.progresso, mensagem.Tamanho());

    const QString erro = sessao.Executa();
    if (!mensagem.Erro().isEmpty())
        return Falha(mensagem.Erro());
    if (!erro.isEmpty())
        return Falha(erro);
    return QStringLiteral("; Email OK");
}
