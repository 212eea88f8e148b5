#!/usr/bin/env python3
"""Bad clients against `pulsewick --serve` while a well-behaved scraper keeps
scraping: 200 idle connections, garbage, a 1 MB header, a slow request, a POST
and an unknown path. Every bad one must be answered or cut off, every scrape
must succeed, and the cycle must go on. Prints the slowest scrape it saw.
Usage: metrics_abuse.py PORT"""
import socket
import sys
import threading
import time

PORT = int(sys.argv[1])
BOUND = 5.0  # generous: a scrape that takes this long has been blocked


def connect():
    s = socket.create_connection(("127.0.0.1", PORT), timeout=BOUND)
    return s


def read_all(s, limit=30.0):
    """Everything until the server closes (or resets) the connection."""
    s.settimeout(limit)
    data = b""
    try:
        while True:
            chunk = s.recv(65536)
            if not chunk:
                return data, "closed"
            data += chunk
    except ConnectionResetError:
        return data, "reset"
    except socket.timeout:
        return data, "open"


def exchange(payload):
    s = connect()
    try:
        s.sendall(payload)
    except (BrokenPipeError, ConnectionResetError):
        pass
    data, how = read_all(s)
    s.close()
    return data, how


def scrape():
    """One scrape on a fresh connection: (seconds, cycle timestamp)."""
    start = time.monotonic()
    s = connect()
    s.sendall(b"GET /metrics HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n")
    data, _ = read_all(s, BOUND)
    s.close()
    took = time.monotonic() - start
    head, _, body = data.partition(b"\r\n\r\n")
    if not head.startswith(b"HTTP/1.1 200 ") or b"\npulsewick_cpu_usage_ratio " not in body:
        raise SystemExit(f"FAIL: bad scrape: {data[:200]!r}")
    stamp = next(float(l.split()[1]) for l in body.splitlines()
                 if l.startswith(b"pulsewick_cycle_timestamp_seconds "))
    return took, stamp


def expect(name, data, how, status):
    ok = data.startswith(b"HTTP/1.1 " + status) or (not data and how in ("closed", "reset"))
    print(f"{name}: {data[:40]!r} then {how}")
    if not ok or how == "open":
        raise SystemExit(f"FAIL: {name} was neither answered with {status.decode()} nor cut off")


_, first_stamp = scrape()

idle = [connect() for _ in range(200)]
results = {}
bad = {
    "garbage": (b"\x16\x03\x01\x00\xa5\x01\x00\x00\xa1\x03\x03" + bytes(range(256)), b"400"),
    "1 MB header": (b"GET /metrics HTTP/1.1\r\nX-Big: " + b"a" * (1 << 20) + b"\r\n\r\n", b"431"),
    "POST": (b"POST /metrics HTTP/1.1\r\nContent-Length: 3\r\n\r\nabc", b"405"),
    "unknown path": (b"GET /admin HTTP/1.1\r\n\r\n", b"404"),
}
threads = [threading.Thread(target=lambda k=k, p=p: results.__setitem__(k, exchange(p)))
           for k, (p, _) in bad.items()]
slow = connect()
slow.sendall(b"GET /metrics HTTP/1.1\r\n")  # and never the rest
for t in threads:
    t.start()

slowest = 0.0
for _ in range(30):
    took, stamp = scrape()
    slowest = max(slowest, took)
    time.sleep(0.1)
for t in threads:
    t.join(60)
for name, (_, status) in bad.items():
    expect(name, *results[name], status)

# Idle and slow clients are cut off: at once when newer ones need their
# place, else after the idle timeout.
cut = 0
for s in idle + [slow]:
    data, how = read_all(s, 30.0)
    if how == "open":
        raise SystemExit("FAIL: an idle connection was never cut off")
    cut += 1
took, last_stamp = scrape()
slowest = max(slowest, took)
if last_stamp <= first_stamp:
    raise SystemExit("FAIL: the cycle stopped")
print(f"{cut} idle connections cut off; slowest scrape under abuse: {slowest * 1000:.1f} ms; "
      f"cycle went on for {last_stamp - first_stamp:.0f} s")
