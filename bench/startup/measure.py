"""Start-up time and memory of Tivora against the bare one-view WebEngine reference.

Serves a film-list page from loopback whose onload fires a beacon, starts each program
alternately, and takes the time from process start to the beacon and the total PSS of the
process tree one second later. Run through bench/startup.sh.
"""
import http.server
import os
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time

FILM_LIST = """<html><head><meta charset="utf-8"><title>电影列表</title></head>
<body onload="fetch('/beacon')"><h3>电影列表</h3>
<p>长河落日 · 星港迷踪 · 江南烟雨 · 铁拳擂台 · 月光邮差</p></body></html>"""
PAGES = {
    "/ty_00.html": FILM_LIST,
    "/vrpcs.asp": "<html><body>qor v10</body></html>",
}
beacon = threading.Event()


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        path = self.path.split("?")[0]
        if path == "/beacon":
            beacon.set()
            self.send_response(204)
            self.end_headers()
            return
        body = PAGES.get(path, "<html><body></body></html>").encode()
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def tree(root):
    """The pid and every descendant of it."""
    children = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open(f"/proc/{entry}/stat") as stat:
                    ppid = int(stat.read().rsplit(")", 1)[1].split()[1])
                children.setdefault(ppid, []).append(int(entry))
            except OSError:
                pass
    found, todo = [], [root]
    while todo:
        pid = todo.pop()
        found.append(pid)
        todo.extend(children.get(pid, []))
    return found


def pss_mib(root):
    total = 0
    for pid in tree(root):
        try:
            with open(f"/proc/{pid}/smaps_rollup") as rollup:
                for line in rollup:
                    if line.startswith("Pss:"):
                        total += int(line.split()[1])
        except OSError:
            pass
    return total / 1024


def run(command, home):
    env = dict(os.environ, HOME=home, XDG_DATA_HOME=home + "/data",
               XDG_CONFIG_HOME=home + "/config", XDG_CACHE_HOME=home + "/cache",
               XDG_RUNTIME_DIR=home + "/run")
    os.makedirs(home + "/run", mode=0o700, exist_ok=True)
    beacon.clear()
    start = time.monotonic()
    process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    if not beacon.wait(60):
        process.kill()
        raise SystemExit(f"bench: no beacon from {command[0]}")
    elapsed = (time.monotonic() - start) * 1000
    time.sleep(1)
    memory = pss_mib(process.pid)
    process.send_signal(signal.SIGTERM)
    try:
        process.wait(15)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
    return elapsed, memory


def main():
    runs, tivora, reference = int(sys.argv[1]), sys.argv[2], sys.argv[3]
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    # A program ended mid-answer is expected here, not an error to print.
    server.handle_error = lambda request, address: None
    threading.Thread(target=server.serve_forever, daemon=True).start()
    root = f"http://127.0.0.1:{server.server_address[1]}"
    programs = {
        "reference": [reference, root + "/ty_00.html"],
        "tivora": [tivora, "--new-instance", "--portal-root", root],
    }
    if os.environ.get("BENCH_FIVE_VIEWS"):
        # The reference with Tivora's count of panes, four of them blank.
        programs["five-views"] = [reference, root + "/ty_00.html", "4"]
    work = tempfile.mkdtemp(prefix="tivora-bench-")
    results = {name: ([], []) for name in programs}
    # One warm-up each: both profiles exist on disk before the measured runs.
    for name, command in programs.items():
        run(command, f"{work}/{name}")
    for i in range(1, runs + 1):
        line = []
        for name, command in programs.items():
            elapsed, memory = run(command, f"{work}/{name}")
            results[name][0].append(elapsed)
            results[name][1].append(memory)
            line.append(f"{name} {elapsed:.0f} ms {memory:.0f} MiB")
        print(f"run {i}: " + ", ".join(line), flush=True)
    t = {name: statistics.median(r[0]) for name, r in results.items()}
    m = {name: statistics.median(r[1]) for name, r in results.items()}
    print(f"median start to film list: tivora {t['tivora']:.0f} ms, reference "
          f"{t['reference']:.0f} ms, ratio {t['tivora'] / t['reference']:.2f}")
    print(f"median PSS 1 s later: tivora {m['tivora']:.0f} MiB, reference "
          f"{m['reference']:.0f} MiB, ratio {m['tivora'] / m['reference']:.2f}")
    server.shutdown()


if __name__ == "__main__":
    main()
