#!/usr/bin/env python3
"""Attacks a collector while honest senders post, and reports what happened.

    attack_test.py --server BUILD/playlog-server [--slow 200] [--idle-share 0.5]
                   [--flood-mb 200] [--flood-connections 4] [--spread]
                   [--honest 5] [--interval 0.5] [--duration 20] [--timing-goal 2.0]
                   [--rss-goal-mb 100] [-- SERVER ARGS...]

Starts the collector on a fresh SQLite file in a temporary folder. Then:
  * slow clients: --slow connections that each send a request head one byte
    every 4 s (a share of them, --idle-share, send nothing at all), opened
    again whenever the server closes them;
  * a header flood: --flood-connections connections writing small header
    lines as fast as they can, --flood-mb megabytes in all;
  * honest senders: --honest senders, each posting one record every
    --interval seconds the way the game does (HTTP/1.0, multipart), from
    127.0.0.1, for --duration seconds.
With --spread the attackers come from 127.0.0.2 and up (one address each, as
from many machines); otherwise all from 127.0.0.2.

Reports the honest posts answered "200" and their answer times, the records
found in the database afterwards, and the collector's resident memory
(sampled every 0.1 s, and its peak). Exits 0 when every honest record was
answered and stored (and, with --timing-goal, answered within that many
seconds) and the peak resident memory stayed under --rss-goal-mb; 1
otherwise; 2 when the collector would not start.
"""
import argparse
import os
import re
import socket
import sqlite3
import subprocess
import sys
import tempfile
import threading
import time

BOUNDARY = "---------------------------23281168279961"


def record_fields(player, rid, level):
    t = 60 + rid % 100
    f = [("version", "v1.0"), ("playerName", player), ("id", str(rid)), ("nrLevelu", str(level)),
         ("nrStageu", "1"), ("zaliczony", "1"), ("levelTime", str(t)), ("levelTimeMS", "%d:%02d" % (t // 60, t % 60)),
         ("byloContinue", "0"), ("score", str(1000 + rid)), ("matchType", "SWAP"), ("puzzlesAtLevel", "0"),
         ("availableChips", "1 2 3 4"), ("chipsCount", "4"), ("tilesToBrake", "10"), ("lastTileBrakeTime", "0:30"),
         ("biggestMatch", "4"), ("iloscMatch3", "12"), ("match4", "1"), ("match5", "0"), ("match6", "0"),
         ("match6orMore", "0")]
    f += [("powerUp%d" % i, "0") for i in range(1, 11)]
    f += [("bonus%d_usage" % i, "0") for i in range(1, 7)]
    f += [("avgChain", "3.5")]
    return f


def upload_bytes(port, fields, token):
    body = ""
    for name, value in fields:
        body += "--%s\r\nContent-Disposition: form-data; name=\"%s\"\r\n\r\n%s\r\n" % (BOUNDARY, name, value)
    body += "--%s--\r\n\r\n" % BOUNDARY
    host = "127.0.0.1:%d" % port
    head = "POST http://%s/playlogs/brimble/playlog.php HTTP/1.0\r\nHost: %s\r\nUser-Agent: PlaylogUploader\r\n" % (
        host, host)
    if token:
        head += "Authorization: Bearer %s\r\n" % token
    head += "Content-Type: multipart/form-data; boundary=%s\r\nContent-Length: %d\r\n\r\n" % (BOUNDARY, len(body))
    return (head + body).encode()


class Stop:
    def __init__(self):
        self.flag = threading.Event()


def attacker_address(i, spread):
    return "127.0.0.%d" % (2 + i % 250) if spread else "127.0.0.2"


def slow_client(port, i, spread, idle, stop, stats):
    head = b"POST /playlogs/brimble/playlog.php HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Slow: " + b"a" * 100000
    while not stop.flag.is_set():
        try:
            s = socket.socket()
            s.bind((attacker_address(i, spread), 0))
            s.settimeout(5)
            s.connect(("127.0.0.1", port))
            stats["slow_connects"] += 1
        except OSError:
            stats["slow_refused"] += 1
            stop.flag.wait(1)
            continue
        k = 0
        try:
            while not stop.flag.is_set():
                if not idle:
                    s.send(head[k:k + 1])
                    k += 1
                # Notice a close while waiting for the next byte.
                s.settimeout(4)
                try:
                    if s.recv(4096) == b"":
                        break
                except socket.timeout:
                    pass
        except OSError:
            pass
        finally:
            stats["slow_closed"] += 1
            s.close()
        stop.flag.wait(0.2)


def flood_client(port, i, spread, budget, stop, stats, lock):
    line = b"X-Flood: " + b"f" * 40 + b"\r\n"
    block = line * 2000
    while not stop.flag.is_set():
        with lock:
            if stats["flood_bytes"] >= budget:
                return
        try:
            s = socket.socket()
            s.bind((attacker_address(1000 + i, spread), 0))
            s.settimeout(5)
            s.connect(("127.0.0.1", port))
            s.sendall(b"GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n")
            while not stop.flag.is_set():
                with lock:
                    if stats["flood_bytes"] >= budget:
                        break
                    stats["flood_bytes"] += len(block)
                s.sendall(block)
        except OSError:
            stats["flood_cut"] += 1
        finally:
            s.close()
    return


def honest_sender(port, n, interval, until, token, results, lock):
    player = "honest-%d" % n
    rid = 0
    while time.monotonic() < until:
        rid += 1
        data = upload_bytes(port, record_fields(player, rid, 1 + rid % 30), token)
        t0 = time.monotonic()
        status = None
        try:
            s = socket.create_connection(("127.0.0.1", port), timeout=15)
            s.settimeout(15)
            s.sendall(data)
            answer = b""
            while True:
                chunk = s.recv(4096)
                if not chunk:
                    break
                answer += chunk
            s.close()
            m = re.match(rb"HTTP/1\.\d (\d{3})", answer)
            status = int(m.group(1)) if m else None
        except OSError:
            status = None
        took = time.monotonic() - t0
        with lock:
            results.append((player, rid, status, took))
        time.sleep(max(0.0, interval - took))


def fetch(port, path, extra):
    """The whole answer (head and body) to a GET."""
    try:
        s = socket.create_connection(("127.0.0.1", port), timeout=30)
        s.sendall(("GET %s HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n%s\r\n" % (path, extra)).encode())
        out = b""
        while True:
            chunk = s.recv(65536)
            if not chunk:
                break
            out += chunk
        s.close()
        return out
    except OSError:
        return b""


def rss_sampler(pid, stop, samples):
    while not stop.flag.is_set():
        try:
            with open("/proc/%d/status" % pid) as f:
                for line in f:
                    if line.startswith("VmRSS:"):
                        samples.append(int(line.split()[1]) / 1024.0)
        except OSError:
            return
        time.sleep(0.1)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--server", required=True)
    ap.add_argument("--slow", type=int, default=200)
    ap.add_argument("--idle-share", type=float, default=0.5)
    ap.add_argument("--flood-mb", type=float, default=200)
    ap.add_argument("--flood-connections", type=int, default=4)
    ap.add_argument("--spread", action="store_true")
    ap.add_argument("--honest", type=int, default=5)
    ap.add_argument("--interval", type=float, default=0.5)
    ap.add_argument("--duration", type=float, default=20)
    ap.add_argument("--timing-goal", type=float, default=0)
    ap.add_argument("--rss-goal-mb", type=float, default=100)
    ap.add_argument("--token", default="")
    ap.add_argument("--ranges", type=int, default=20, help="then ask for the CSV with this many 0- ranges")
    ap.add_argument("rest", nargs="*")
    a = ap.parse_args()

    work = tempfile.mkdtemp(prefix="playlog-attack.")
    db = os.path.join(work, "playlog.sqlite")
    log = open(os.path.join(work, "server.log"), "w+")
    server = subprocess.Popen([a.server, "--listen", "127.0.0.1:0", "--db", db] + a.rest, stdout=log,
                              stderr=subprocess.STDOUT)
    port = None
    for _ in range(200):
        log.flush()
        log.seek(0)
        m = re.search(r"listening on http://127\.0\.0\.1:(\d+)/", log.read())
        if m:
            port = int(m.group(1))
            break
        if server.poll() is not None:
            break
        time.sleep(0.05)
    if not port:
        log.seek(0)
        print("the collector did not start:\n" + log.read())
        server.kill()
        return 2

    stop = Stop()
    stats = {"slow_connects": 0, "slow_refused": 0, "slow_closed": 0, "flood_bytes": 0, "flood_cut": 0}
    lock = threading.Lock()
    samples = []
    threads = [threading.Thread(target=rss_sampler, args=(server.pid, stop, samples), daemon=True)]
    for i in range(a.slow):
        idle = i < a.slow * a.idle_share
        threads.append(threading.Thread(target=slow_client, args=(port, i, a.spread, idle, stop, stats), daemon=True))
    budget = int(a.flood_mb * 1024 * 1024)
    for i in range(a.flood_connections):
        threads.append(threading.Thread(target=flood_client, args=(port, i, a.spread, budget, stop, stats, lock),
                                        daemon=True))
    for t in threads:
        t.start()
    time.sleep(3)  # let the attack take hold
    results = []
    until = time.monotonic() + a.duration
    honest = [threading.Thread(target=honest_sender, args=(port, n, a.interval, until, a.token, results, lock))
              for n in range(a.honest)]
    for t in honest:
        t.start()
    for t in honest:
        t.join()
    stop.flag.set()
    time.sleep(0.3)
    ranged = plain = None
    if a.ranges > 0:
        plain = len(fetch(port, "/export.csv", ""))
        ranged = len(fetch(port, "/export.csv", "Range: bytes=" + ",".join(["0-"] * a.ranges) + "\r\n"))
    alive = server.poll() is None
    hwm = None
    try:
        with open("/proc/%d/status" % server.pid) as f:
            for line in f:
                if line.startswith("VmHWM:"):
                    hwm = int(line.split()[1]) / 1024.0
    except OSError:
        pass
    server.terminate()
    try:
        server.wait(10)
    except subprocess.TimeoutExpired:
        server.kill()
        server.wait()

    stored = set()
    try:
        con = sqlite3.connect(db)
        stored = {(p, int(i)) for p, i in con.execute("SELECT player, record_id FROM records")}
        con.close()
    except sqlite3.Error as e:
        print("cannot read the database: %s" % e)
    ok = [r for r in results if r[2] == 200]
    times = sorted(r[3] for r in ok)
    all_times = sorted(r[3] for r in results)
    acked_stored = sum(1 for r in ok if (r[0], r[1]) in stored)
    peak = max(samples) if samples else 0.0

    def at(v, q):
        return v[min(len(v) - 1, int(q * len(v)))] if v else float("nan")

    print("attack: %d slow/idle connections (%d%% idle)%s, header flood %.0f MB over %d connections" %
          (a.slow, round(a.idle_share * 100), ", one address each" if a.spread else " from one address",
           stats["flood_bytes"] / 1048576.0, a.flood_connections))
    print("attackers: %d slow connects, %d refused, %d closed by the server; flood connections cut %d" %
          (stats["slow_connects"], stats["slow_refused"], stats["slow_closed"], stats["flood_cut"]))
    print("honest posts: %d sent, %d answered 200, %d stored; statuses: %s" %
          (len(results), len(ok), acked_stored, sorted({str(r[2]) for r in results})))
    print("honest answer seconds: median %.3f, p99 %.3f, max %.3f (all posts, answered or not: max %.3f)" %
          (at(times, 0.5), at(times, 0.99), times[-1] if times else float("nan"),
           all_times[-1] if all_times else float("nan")))
    print("collector resident memory: peak sampled %.1f MB, high-water mark %s MB; alive at the end: %s" %
          (peak, "%.1f" % hwm if hwm is not None else "?", alive))
    if ranged is not None:
        print("CSV answer: %d bytes plain, %d bytes with %d ranges 0- (%.1f times)" %
              (plain, ranged, a.ranges, ranged / plain if plain else float("nan")))
    goal = len(results) > 0 and len(ok) == len(results) and acked_stored == len(ok)
    if a.timing_goal > 0:
        goal = goal and bool(times) and times[-1] <= a.timing_goal
    goal = goal and (hwm if hwm is not None else peak) < a.rss_goal_mb and alive
    print("goal %s" % ("met" if goal else "NOT met"))
    return 0 if goal else 1


if __name__ == "__main__":
    sys.exit(main())
