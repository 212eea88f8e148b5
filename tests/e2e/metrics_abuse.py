#!/usr/bin/env python3
"""Bad clients against `pulsewick --serve` while a well-behaved scraper keeps
scraping: 200 idle connections, garbage, a 1 MB header and a request that never
ends. Every bad one must be answered or cut off, every scrape must succeed, and
the cycle must go on. (Each refusal alone: tst_metrics_server.)
Usage: metrics_abuse.py PORT"""
import socket
import sys
import threading
import time

PORT = int(sys.argv[1])
BOUND = 5.0  # generous: a scrape that takes this long has been blocked


def connect():
    return socket.create_connection(("127.0.0.1", PORT), timeout=BOUND)


def read_all(s, limit=30.0):
    """Everything until the server closes (or resets) the connection."""
    s.settimeout(limit)
    data = b""
    try:
        while chunk := s.recv(65536):
            data += chunk
        return data, "closed"
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
    return read_all(s)


def scrape():
    """One scrape on a fresh connection: (seconds, cycle timestamp)."""
    start = time.monotonic()
    s = connect()
    s.sendall(b"GET /metrics HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n")
    data, _ = read_all(s, BOUND)
    took = time.monotonic() - start
    head, _, body = data.partition(b"\r\n\r\n")
    if not head.startswith(b"HTTP/1.1 200 ") or b"\npulsewick_cpu_usage_ratio " not in body:
        raise SystemExit(f"FAIL: bad scrape: {data[:200]!r}")
    return took, next(float(l.split()[1]) for l in body.splitlines()
                      if l.startswith(b"pulsewick_cycle_timestamp_seconds "))


_, first_stamp = scrape()
idle = [connect() for _ in range(200)]
bad = {
    "garbage": (b"\x16\x03\x01\x00\xa5\x01\x00\x00\xa1\x03\x03" + bytes(range(256)), b"400"),
    "1 MB header": (b"GET /metrics HTTP/1.1\r\nX-Big: " + b"a" * (1 << 20) + b"\r\n\r\n", b"431"),
}
results = {}
threads = [threading.Thread(target=lambda k=k, p=p: results.__setitem__(k, exchange(p)))
           for k, (p, _) in bad.items()]
slow = connect()
slow.sendall(b"GET /metrics HTTP/1.1\r\n")  # and never the rest
for t in threads:
    t.start()
slowest = 0.0
for _ in range(30):
    slowest = max(slowest, scrape()[0])
    time.sleep(0.1)
for t in threads:
    t.join(60)
for name, (_, status) in bad.items():
    data, how = results[name]
    print(f"{name}: {data[:40]!r} then {how}")
    if how == "open" or not (data.startswith(b"HTTP/1.1 " + status) or not data):
        raise SystemExit(f"FAIL: {name} was neither answered with {status.decode()} nor cut off")
# Idle and slow clients are cut off: at once when newer ones need their place,
# else after the idle timeout.
if any(read_all(s)[1] == "open" for s in idle + [slow]):
    raise SystemExit("FAIL: an idle connection was never cut off")
took, last_stamp = scrape()
if last_stamp <= first_stamp:
    raise SystemExit("FAIL: the cycle stopped")
print(f"idle connections cut off; slowest scrape under abuse: {max(slowest, took) * 1000:.1f} ms; "
      f"cycle went on for {last_stamp - first_stamp:.0f} s")
