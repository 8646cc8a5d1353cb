#!/usr/bin/env python3
"""bad_server.py MODE: a play-log server that misbehaves, on a free loopback
port it prints first. silent: accepts and never answers; endless: answers
without end; trickle: answers a byte a second."""
import socket
import sys
import threading
import time

mode = sys.argv[1]
srv = socket.socket()
srv.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
srv.bind(("127.0.0.1", 0))
srv.listen(16)
print(srv.getsockname()[1], flush=True)
held = []


def serve(c):
    try:
        c.recv(65536)
        c.sendall(b"HTTP/1.0 200 OK\r\n\r\n")
        while True:
            c.sendall(b"x" * (4096 if mode == "endless" else 1))
            time.sleep(0.001 if mode == "endless" else 1.0)
    except OSError:
        pass


while True:
    conn, _ = srv.accept()
    if mode == "silent":
        held.append(conn)
    else:
        threading.Thread(target=serve, args=(conn,), daemon=True).start()
