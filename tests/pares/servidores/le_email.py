#!/usr/bin/python3
"""Reads a received message with Python's email package (an independent MIME
parser) and prints what it found as JSON; the attachment's decoded bytes go to the
file named by the second argument."""
import email
import json
import sys
from email import policy

with open(sys.argv[1], "rb") as f:
    m = email.message_from_bytes(f.read(), policy=policy.default)


def texto_8bit(t):
    # Bytes outside ASCII reach the parser as surrogate escapes.
    return None if t is None else t.encode("utf-8", "surrogateescape").decode("utf-8")


def endereco(cabecalho):
    e = m[cabecalho].addresses[0]
    return {"nome": e.display_name, "endereco": e.addr_spec, "texto": str(m[cabecalho])}


partes = []
defeitos = [type(d).__name__ for d in m.defects]
for parte in m.iter_parts():
    defeitos += [type(d).__name__ for d in parte.defects]
    info = {"tipo": parte.get_content_type(), "charset": parte.get_param("charset"),
            "codificacao": parte.get("Content-Transfer-Encoding"),
            "disposicao": parte.get_content_disposition(), "arquivo": parte.get_filename(),
            "nome": parte.get_param("name"),
            "tamanho": parte.get_param("size", header="content-disposition")}
    if parte.get_content_maintype() == "text":
        info["texto"] = parte.get_content()
    else:
        with open(sys.argv[2], "wb") as f:
            f.write(parte.get_content())
    partes.append(info)

print(json.dumps({
    "cabecalhos": [k for k in m.keys()],
    "de": endereco("From"), "para": endereco("To"), "assunto": str(m["Subject"]),
    "mailer": m["X-Mailer"], "versao": m["MIME-Version"], "tipo": m.get_content_type(),
    "limite": m.get_boundary(), "preambulo": texto_8bit(m.preamble), "epilogo": m.epilogue,
    "partes": partes, "defeitos": defeitos,
}))
