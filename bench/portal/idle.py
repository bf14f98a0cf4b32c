"""Idle connections on the demo portal: opens COUNT connections to PORT that send nothing, then
prints the portal process's (PID) threads, RSS and PSS before and while they are held, and how
long a normal request takes meanwhile. Run through bench/portal-load.sh.
"""
import resource
import socket
import sys
import time

port, pid, count = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3])


def figures():
    status = {}
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            key, _, value = line.partition(":")
            status[key] = value.strip()
    pss = "?"
    try:
        with open(f"/proc/{pid}/smaps_rollup") as f:
            for line in f:
                if line.startswith("Pss:"):
                    pss = line.split(":", 1)[1].strip()
    except OSError:
        pass
    return f"threads {status.get('Threads')}, RSS {status.get('VmRSS')}, PSS {pss}"


def one_request():
    start = time.perf_counter()
    try:
        with socket.create_connection(("127.0.0.1", port), timeout=10) as s:
            s.sendall(b"GET /vrtj.html HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n")
            answer = b""
            while chunk := s.recv(65536):
                answer += chunk
        status = answer.split(b" ", 2)[1].decode() if answer else "none"
    except OSError as error:
        status = str(error)
    return status, (time.perf_counter() - start) * 1000


soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
if soft < count + 100:
    resource.setrlimit(resource.RLIMIT_NOFILE, (min(hard, count + 100), hard))
print(f"no idle connections: {figures()}")
held = [socket.create_connection(("127.0.0.1", port), timeout=10) for _ in range(count)]
time.sleep(1)
status, ms = one_request()
print(f"{count} idle connections: {figures()}; a request meanwhile: {status} in {ms:.0f} ms")
for s in held:
    s.close()
