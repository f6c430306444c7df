#include "transferencias/ComposicaoEmail.h"

#include "transferencias/CodificacaoMime.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cstring>

namespace {
// File bytes encoded per block: a multiple of 57 so every block ends on a whole
// base64 line.
constexpr qint64 BlocoArquivo = 57 * 8192;

QByteArray LimiteNovo()
{
    // "=_" cannot appear in base64 nor in quoted-printable text, so the boundary
    // never collides with a part's body.
    QByteArray aleatorio(12, '\0');
    QRandomGenerator::global()->generate(aleatorio.begin(), aleatorio.end());
    return "=_Vaultrun_" + aleatorio.toHex();
}
}

ComposicaoEmail::ComposicaoEmail(DadosMensagem dados) : dados_(std::move(dados))
{
    dados_limite_ = dados_.limite.isEmpty() ? LimiteNovo() : dados_.limite;
}

QString ComposicaoEmail::Abre()
{
    arquivo_.setFileName(dados_.arquivo);
    if (!arquivo_.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return QStringLiteral("não foi possível abrir o arquivo %1: %2").arg(dados_.arquivo, arquivo_.errorString());
    bytesArquivo_ = arquivo_.size();
    const QString nome = QFileInfo(dados_.arquivo).fileName();
    const QByteArray& b = dados_limite_;

    inicio_ = "From: " + CabecalhoEndereco(dados_.remetente) + "\r\n"
        "To: " + CabecalhoEndereco(dados_.destinatario) + "\r\n"
        "Subject: " + CabecalhoTexto(dados_.assunto) + "\r\n"
        "X-Mailer: Internet Professional v1,15\r\n"
        "MIME-Version: 1.0\r\n"
        "Content-Type: multipart/mixed;\r\n boundary=\"" + b + "\"\r\n"
        // The preamble below is UTF-8 text outside any part.
        "Content-Transfer-Encoding: 8bit\r\n"
        "\r\n"
        + QStringLiteral("Esta mensagem está no formato MIME. Caso seu sistema de email não\r\n"
                         "reconheça este formato, alguns itens podem não estar legíveis.").toUtf8()
        + "\r\n--" + b + "\r\n"
        "Content-Type: text/plain; charset=UTF-8\r\n"
        "Content-Transfer-Encoding: quoted-printable\r\n"
        "\r\n"
        + QuotedPrintable(dados_.assunto.toUtf8()) + "\r\n"
        "\r\n--" + b + "\r\n"
        "Content-Type: application/x-zip-compressed;\r\n " + Parametro("name", nome) + "\r\n"
        "Content-Transfer-Encoding: base64\r\n"
        "Content-Disposition: attachment;\r\n " + Parametro("filename", nome) + ";\r\n size="
        + QByteArray::number(bytesArquivo_) + "\r\n"
        "\r\n";
    fim_ = "\r\n--" + b + "--\r\n";
    tamanho_ = inicio_.size() + TamanhoBase64(bytesArquivo_) + fim_.size();
    bruto_.resize(BlocoArquivo);
    codificado_.resize(static_cast<size_t>(TamanhoBase64(BlocoArquivo)));
    return {};
}

bool ComposicaoEmail::EncheBloco()
{
    const qint64 pedir = std::min(BlocoArquivo, bytesArquivo_ - lidosArquivo_);
    qint64 lidos = 0;
    while (lidos < pedir) {
        const qint64 n = arquivo_.read(bruto_.data() + lidos, pedir - lidos);
        if (n <= 0) {
            // The attachment's size is already in the headers: a file that shrank
            // or failed cannot be sent as announced.
            erro_ = n < 0 ? QStringLiteral("erro ao ler o arquivo %1: %2").arg(dados_.arquivo, arquivo_.errorString())
                          : QStringLiteral("o arquivo %1 ficou menor durante o envio").arg(dados_.arquivo);
            return false;
        }
        lidos += n;
    }
    lidosArquivo_ += lidos;
    noBloco_ = Base64Linhas(bruto_.data(), lidos, codificado_.data());
    doBloco_ = 0;
    return true;
}

qint64 ComposicaoEmail::Le(char* destino, qint64 maximo)
{
    if (!erro_.isEmpty())
        return -1;
    qint64 copiados = 0;
    const qint64 fimInicio = inicio_.size();
    const qint64 fimAnexo = tamanho_ - fim_.size();
    while (copiados < maximo && posicao_ < tamanho_) {
        qint64 n = 0;
        if (posicao_ < fimInicio) {
            n = std::min(maximo - copiados, fimInicio - posicao_);
            std::memcpy(destino + copiados, inicio_.constData() + posicao_, static_cast<size_t>(n));
        }
        else if (posicao_ < fimAnexo) {
            if (doBloco_ == noBloco_ && !EncheBloco())
                return -1;
            n = std::min(maximo - copiados, noBloco_ - doBloco_);
            std::memcpy(destino + copiados, codificado_.data() + doBloco_, static_cast<size_t>(n));
            doBloco_ += n;
        }
        else {
            n = std::min(maximo - copiados, tamanho_ - posicao_);
            std::memcpy(destino + copiados, fim_.constData() + (posicao_ - fimAnexo), static_cast<size_t>(n));
        }
        copiados += n;
        posicao_ += n;
    }
    return copiados;
}
