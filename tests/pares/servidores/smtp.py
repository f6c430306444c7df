#!/usr/bin/python3
"""SMTP server for the tests: aiosmtpd on 127.0.0.1, a free port.

Prints "PORTA <n>" once it listens. Each accepted message is kept as <n>.eml in
--pasta with <n>.json beside it (envelope, whether the session was under TLS and
who logged in). With --usuario, AUTH is required and only that account passes;
with --certificado/--chave, STARTTLS is offered and required before anything else;
--tls-direto makes it TLS from the first byte instead; --recusa names a recipient
refused at RCPT; --descarta keeps nothing (benchmarks); --porta asks for a port.
"""
import argparse
import asyncio
import json
import os
import ssl

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword

p = argparse.ArgumentParser()
p.add_argument("--pasta")
p.add_argument("--usuario")
p.add_argument("--senha", default="")
p.add_argument("--certificado")
p.add_argument("--chave")
p.add_argument("--recusa")
p.add_argument("--descarta", action="store_true")
p.add_argument("--porta", type=int, default=0)
p.add_argument("--tls-direto", action="store_true", help="TLS from the first byte (SMTPS) instead of STARTTLS")
a = p.parse_args()


class Guarda:
    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if a.recusa and address == a.recusa:
            return "550 5.1.1 Caixa postal inexistente"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        if a.descarta:
            return "250 OK"
        n = len([f for f in os.listdir(a.pasta) if f.endswith(".eml")])
        base = os.path.join(a.pasta, str(n))
        with open(base + ".eml", "wb") as f:
            f.write(envelope.original_content)
        login = session.auth_data.login.decode() if isinstance(session.auth_data, LoginPassword) else None
        with open(base + ".json", "w") as f:
            tls = session.ssl is not None or server.transport.get_extra_info("sslcontext") is not None
            json.dump({"de": envelope.mail_from, "para": envelope.rcpt_tos, "tls": tls, "usuario": login}, f)
        return "250 OK"


def autentica(server, session, envelope, mecanismo, dados):
    ok = (mecanismo == "LOGIN" and isinstance(dados, LoginPassword)
          and dados.login == a.usuario.encode() and dados.password == a.senha.encode())
    return AuthResult(success=ok, handled=False, auth_data=dados if ok else None)


async def principal():
    contexto = None
    if a.certificado:
        contexto = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        contexto.load_cert_chain(a.certificado, a.chave)

    starttls = contexto if not a.tls_direto else None

    def sessao():
        return SMTP(Guarda(), hostname="teste.local", data_size_limit=None, decode_data=False,
                    authenticator=autentica if a.usuario else None, auth_required=bool(a.usuario),
                    auth_require_tls=False, tls_context=starttls, require_starttls=starttls is not None)

    servidor = await asyncio.get_running_loop().create_server(
        sessao, "127.0.0.1", a.porta, ssl=contexto if a.tls_direto else None)
    print("PORTA", servidor.sockets[0].getsockname()[1], flush=True)
    await servidor.serve_forever()


asyncio.run(principal())
