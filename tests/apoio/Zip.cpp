#include "apoio/Zip.h"

#include "apoio/Processos.h"

#include <QProcess>

#include <zlib.h>

ConteudoZip LeZip(const QString& arquivo)
{
    ConteudoZip z;
    z.integro = ::Executa(QStringLiteral("unzip"), {QStringLiteral("-tqq"), arquivo}) == 0;
    const QString script = QStringLiteral(
        "import sys, zipfile\n"
        "z = zipfile.ZipFile(sys.argv[1])\n"
        "i = z.infolist()\n"
        "names = '\\n'.join(e.filename for e in i)\n"
        "method = {0: 'stored', 8: 'deflated'}.get(i[0].compress_type, str(i[0].compress_type)) if i else ''\n"
        "data = z.read(i[0]) if i else b''\n"
        "sys.stdout.buffer.write(method.encode() + b'\\0' + names.encode() + b'\\0' + data)\n");
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, arquivo});
    p.waitForFinished(-1);
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return z;
    const QByteArray saida = p.readAllStandardOutput();
    const qsizetype a = saida.indexOf('\0'), b = saida.indexOf('\0', a + 1);
    z.metodo = QString::fromUtf8(saida.left(a));
    z.nomes = QString::fromUtf8(saida.mid(a + 1, b - a - 1)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    z.primeiro = saida.mid(b + 1);
    return z;
}

QByteArray Infla(const QByteArray& fluxo)
{
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
        return {};
    QByteArray saida("");
    QByteArray bloco(1 << 16, Qt::Uninitialized);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(fluxo.constData()));
    z.avail_in = static_cast<uInt>(fluxo.size());
    int rc = Z_OK;
    while (rc == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(bloco.data());
        z.avail_out = static_cast<uInt>(bloco.size());
        rc = inflate(&z, Z_NO_FLUSH);
        saida.append(bloco.constData(), bloco.size() - static_cast<qsizetype>(z.avail_out));
    }
    const bool inteiro = rc == Z_STREAM_END && z.avail_in == 0;
    inflateEnd(&z);
    return inteiro ? saida : QByteArray();
}
