#!/usr/bin/python3
"""A server that accepts connections and never says a word: the fault of a dead
server that a real FTP or SMTP server cannot be told to have. Prints "PORTA <n>"."""
import socket

s = socket.socket()
s.bind(("127.0.0.1", 0))
s.listen(8)
print("PORTA", s.getsockname()[1], flush=True)
abertas = []
while True:
    conexao, _ = s.accept()
    abertas.append(conexao)
