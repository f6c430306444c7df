#include "transferencias/EnvioFtp.h"

#include "transferencias/Url.h"
#include "plataforma/TextoLocal.h"

#include <QFile>
#include <QFileInfo>

namespace {
const QString Ok = QStringLiteral("; FTP OK");
QString Falha(const QString& texto)
{
    return QStringLiteral("; FTP: ") + texto;
}

// Feeds libcurl from the archive; a read error ends the upload instead of sending
// a short file as if it were whole.
struct Leitura {
    QFile* arquivo;
    bool falhou = false;
};
size_t Le(char* destino, size_t tamanho, size_t itens, void* dados)
{
    auto* l = static_cast<Leitura*>(dados);
    const qint64 lidos = l->arquivo->read(destino, static_cast<qint64>(tamanho * itens));
    if (lidos < 0) {
        l->falhou = true;
        return CURL_READFUNC_ABORT;
    }
    return static_cast<size_t>(lidos);
}
}

QString EnviaFtp(const PedidoFtp& pedido)
{
    QFile arquivo(pedido.arquivo);
    if (!arquivo.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return Falha(QStringLiteral("não foi possível abrir o arquivo %1: %2").arg(pedido.arquivo, arquivo.errorString()));
    const qint64 tamanho = arquivo.size();

    const auto servidor = UrlServidor("ftp", pedido.host, pedido.porta);
    if (!servidor)
        return Falha(QStringLiteral("servidor ou porta inválidos: \"%1\", porta %2").arg(pedido.host).arg(pedido.porta));
    // The folder and the name travel as one path; with a single CWD libcurl changes
    // to everything before the last '/' exactly as typed (absolute or relative).
    QString caminho = QFileInfo(pedido.arquivo).fileName();
    if (!pedido.pasta.isEmpty())
        caminho = pedido.pasta + QLatin1Char('/') + caminho;
    const QByteArray url = *servidor + '/' + CodificaCaminho(caminho);

    SessaoCurl sessao;
    CURL* c = sessao.handle();
    if (!c)
        return Falha(QStringLiteral("não foi possível iniciar a biblioteca de transferência"));
    Leitura leitura{&arquivo};
    const QByteArray usuario = ParaTextoLocal(pedido.usuario);
    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    curl_easy_setopt(c, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(c, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_SINGLECWD));
    curl_easy_setopt(c, CURLOPT_USERNAME, usuario.constData());
    curl_easy_setopt(c, CURLOPT_PASSWORD, pedido.senha.constData());
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(c, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(tamanho));
    curl_easy_setopt(c, CURLOPT_READFUNCTION, &Le);
    curl_easy_setopt(c, CURLOPT_READDATA, &leitura);
    curl_easy_setopt(c, CURLOPT_UPLOAD_BUFFERSIZE, 512L * 1024L);
    if (pedido.ativo)
        curl_easy_setopt(c, CURLOPT_FTPPORT, "-");
    sessao.DefineTempos(pedido.tempos);
    sessao.DefineProgresso(pedido.progresso, tamanho, "STOR ");

    QString erro = sessao.Executa();
    if (leitura.falhou)
        return Falha(QStringLiteral("erro ao ler o arquivo %1: %2").arg(pedido.arquivo, arquivo.errorString()));
    if (!erro.isEmpty())
        return Falha(erro);

    // Same connection, no data: libcurl sends SIZE for the file just stored. A
    // server without SIZE leaves the size unknown and is taken at its word.
    sessao.DesligaProgresso();
    curl_easy_setopt(c, CURLOPT_UPLOAD, 0L);
    curl_easy_setopt(c, CURLOPT_NOBODY, 1L);
    erro = sessao.Executa();
    if (!erro.isEmpty())
        return Falha(QStringLiteral("o tamanho do arquivo no servidor não pôde ser conferido: ") + erro);
    curl_off_t guardado = -1;
    curl_easy_getinfo(c, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &guardado);
    if (guardado >= 0 && guardado != tamanho)
        return Falha(QStringLiteral("o servidor guardou %1 de %2 bytes do arquivo").arg(guardado).arg(tamanho));
    return Ok;
}
