#!/usr/bin/python3
"""FTP server for the tests: pyftpdlib on 127.0.0.1, one account, a free port.

Prints "PORTA <n>" on standard output once it listens, and each command it
receives ("COMANDO <verb> <argument>") on standard error. Faults a real server can be
told to have: no SIZE command, or files cut short after they are stored.
"""
import argparse
import os
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

p = argparse.ArgumentParser()
p.add_argument("--raiz", required=True)
p.add_argument("--usuario", required=True)
p.add_argument("--senha", required=True)
p.add_argument("--sem-size", action="store_true")
p.add_argument("--corta", type=int, default=0, help="bytes dropped from each stored file")
a = p.parse_args()

autorizador = DummyAuthorizer()
autorizador.add_user(a.usuario, a.senha, a.raiz, perm="elradfmwMT")


class Tratador(FTPHandler):
    authorizer = autorizador

    def pre_process_command(self, linha, comando, argumento):
        # The commands reach the test on standard error, the password left out.
        print("COMANDO", comando, argumento if comando != "PASS" else "***", file=sys.stderr, flush=True)
        super().pre_process_command(linha, comando, argumento)

    def on_file_received(self, arquivo):
        if a.corta:
            os.truncate(arquivo, max(0, os.path.getsize(arquivo) - a.corta))


if a.sem_size:
    Tratador.proto_cmds = {k: v for k, v in FTPHandler.proto_cmds.items() if k != "SIZE"}

servidor = FTPServer(("127.0.0.1", 0), Tratador)
print("PORTA", servidor.socket.getsockname()[1], flush=True)
servidor.serve_forever()
