#include "apoio/Firebird.h"

#include "apoio/Processos.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

void AbreParaServidor(const QString& pasta)
{
    // Every level down from the scratch root must be passable; the folder itself
    // writable.
    QString atual = pasta;
    for (int i = 0; i < 3 && !atual.isEmpty() && atual != QStringLiteral("/"); ++i) {
        QFile::setPermissions(atual, QFile::permissions(atual) | QFileDevice::ExeOther | QFileDevice::ReadOther
                                         | (i == 0 ? QFileDevice::WriteOther : QFileDevice::Permissions()));
        atual = QFileInfo(atual).absolutePath();
    }
}

void CriaBanco(const QString& caminho, int linhas)
{
    AbreParaServidor(QFileInfo(caminho).absolutePath());
    const QByteArray sql = QStringLiteral(
        "create database 'localhost:%1' user 'SYSDBA' password 'bluefjord';\n"
        "create table clientes (id integer not null primary key, nome varchar(60));\n"
        "set term ^;\n"
        "execute block as declare i integer = 1; begin while (i <= %2) do begin "
        "insert into clientes values (:i, 'Cliente ' || :i); i = i + 1; end end^\n"
        "set term ;^\n"
        "commit;\n").arg(caminho).arg(linhas).toUtf8();
    QByteArray saida;
    ASSERT_EQ(Executa(QStringLiteral("isql-fb"), {QStringLiteral("-q")}, &saida, sql), 0) << saida.constData();
    ASSERT_TRUE(QFile::exists(caminho)) << saida.constData();
}

int ContaClientes(const QString& banco)
{
    QByteArray saida;
    const QByteArray sql = "select 'N=' || count(*) from clientes;\n";
    if (Executa(QStringLiteral("isql-fb"),
                {QStringLiteral("-q"), QStringLiteral("-user"), QStringLiteral("sysdba"), QStringLiteral("-password"),
                 QStringLiteral("bluefjord"), QStringLiteral("localhost:") + banco},
                &saida, sql) != 0)
        return -1;
    const qsizetype i = saida.indexOf("N=");
    if (i < 0)
        return -1;
    return saida.mid(i + 2).trimmed().split('\n').first().trimmed().toInt();
}

bool RestauraBackup(const QString& backup, const QString& banco)
{
    AbreParaServidor(QFileInfo(banco).absolutePath());
    QByteArray saida;
    const int rc = Executa(QStringLiteral("gbak"),
                           {QStringLiteral("-r"), QStringLiteral("-rep"), QStringLiteral("-user"), QStringLiteral("sysdba"),
                            QStringLiteral("-password"), QStringLiteral("bluefjord"), backup,
                            QStringLiteral("localhost:") + banco},
                           &saida);
    if (rc != 0)
        ADD_FAILURE() << "gbak -r: " << saida.constData();
    return rc == 0;
}

bool ExecutaSql(const QString& banco, const QByteArray& sql)
{
    QByteArray saida;
    const int rc = Executa(QStringLiteral("isql-fb"),
                           {QStringLiteral("-q"), QStringLiteral("-user"), QStringLiteral("sysdba"), QStringLiteral("-password"),
                            QStringLiteral("bluefjord"), QStringLiteral("localhost:") + banco},
                           &saida, sql);
    if (rc != 0 || saida.contains("Statement failed"))
        ADD_FAILURE() << "isql: " << saida.constData();
    return rc == 0;
}
