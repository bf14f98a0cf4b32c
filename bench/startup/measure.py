"""Start-up time and memory of Tivora, run through bench/startup.sh.

  page:    Tivora with --portal-root at a loopback server whose film-list page fires a beacon
           from its onload, against the bare one-view WebEngine reference loading that page;
  default: Tivora's own start (the demo portal in its process, its real film list) against
           Tivora with --portal-root at the demo portal program; both are timed to the trace
           line of the film list's DocumentComplete.

Each program is warmed up once, then the runs alternate. Time is from process start; memory is
the total PSS of the process tree one second after.
"""
import http.server
import os
import signal
import socket
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
LIST_COMPLETE = "Tivora/WebBrowser1 document complete"
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


def user_env(home):
    os.makedirs(home + "/run", mode=0o700, exist_ok=True)
    return dict(os.environ, HOME=home, XDG_DATA_HOME=home + "/data",
                XDG_CONFIG_HOME=home + "/config", XDG_CACHE_HOME=home + "/cache",
                XDG_RUNTIME_DIR=home + "/run")


def run(command, home, ready):
    """Starts command, waits for ready ("beacon" or a trace line), returns (ms, MiB)."""
    env = user_env(home)
    env["TIVORA_TRACE_STARTUP"] = "1"
    beacon.clear()
    seen = threading.Event()
    start = time.monotonic()
    process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE, text=True, errors="replace")
    stamp = []

    def read_trace():
        for line in process.stderr:
            if ready != "beacon" and ready in line and not seen.is_set():
                stamp.append(time.monotonic())
                seen.set()

    reader = threading.Thread(target=read_trace, daemon=True)
    reader.start()
    event = beacon if ready == "beacon" else seen
    if not event.wait(60):
        process.kill()
        raise SystemExit(f"bench: {command[0]} never reached {ready}")
    elapsed = ((stamp[0] if stamp else time.monotonic()) - start) * 1000
    time.sleep(1)
    memory = pss_mib(process.pid)
    process.send_signal(signal.SIGTERM)
    try:
        process.wait(15)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
    reader.join(5)
    return elapsed, memory


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def wait_for_port(port, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            with socket.create_connection(("127.0.0.1", port), timeout=1):
                return
        except OSError:
            time.sleep(0.1)
    raise SystemExit(f"bench: nothing listens on port {port}")


def main():
    mode, runs, build = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    compare = os.environ.get("BENCH_COMPARE")  # another Tivora build, in the same alternation
    tivora = f"{build}/bin/tivora"
    work = tempfile.mkdtemp(prefix="tivora-bench-")
    cleanup = []
    if mode == "page":
        server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        # A program ended mid-answer is expected here, not an error to print.
        server.handle_error = lambda request, address: None
        threading.Thread(target=server.serve_forever, daemon=True).start()
        cleanup.append(server.shutdown)
        root = f"http://127.0.0.1:{server.server_address[1]}"
        programs = {
            "reference": ([f"{build}/bench/tivora-bench-reference", root + "/ty_00.html"],
                          "beacon"),
            "tivora": ([tivora, "--new-instance", "--portal-root", root], "beacon"),
        }
        if os.environ.get("BENCH_FIVE_VIEWS"):
            # The reference with five views, four of them blank.
            programs["five-views"] = (
                [f"{build}/bench/tivora-bench-reference", root + "/ty_00.html", "4"], "beacon")
        if compare:
            programs["compare"] = ([compare, "--new-instance", "--portal-root", root], "beacon")
        base, measured = "reference", "tivora"
    elif mode == "default":
        port = free_port()
        portal = subprocess.Popen([f"{build}/bin/tivora-portal", "--port", str(port),
                                   "--db", f"{work}/portal.sqlite"],
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        cleanup.append(portal.terminate)
        wait_for_port(port)
        root = f"http://127.0.0.1:{port}"
        outside = ["--portal-root", root, "--site-root", root + "/site"]
        programs = {
            "outside": ([tivora, "--new-instance", *outside], LIST_COMPLETE),
            "default": ([tivora, "--new-instance"], LIST_COMPLETE),
        }
        if compare:
            programs["compare-default"] = ([compare, "--new-instance"], LIST_COMPLETE)
        base, measured = "outside", "default"
    else:
        raise SystemExit(f"bench: no mode {mode}")

    results = {name: ([], []) for name in programs}
    # One warm-up each: the profiles exist on disk before the measured runs.
    for name, (command, ready) in programs.items():
        run(command, f"{work}/{name}", ready)
    for i in range(1, runs + 1):
        line = []
        for name, (command, ready) in programs.items():
            elapsed, memory = run(command, f"{work}/{name}", ready)
            results[name][0].append(elapsed)
            results[name][1].append(memory)
            line.append(f"{name} {elapsed:.0f} ms {memory:.0f} MiB")
        print(f"run {i}: " + ", ".join(line), flush=True)
    for stop in cleanup:
        stop()
    t = {name: statistics.median(r[0]) for name, r in results.items()}
    m = {name: statistics.median(r[1]) for name, r in results.items()}
    for name in programs:
        print(f"median {name}: {t[name]:.0f} ms to the film list, {m[name]:.0f} MiB PSS 1 s later; "
              f"against {base}: time {t[name] / t[base]:.2f}, memory {m[name] / m[base]:.2f}")
    print(f"ratio {measured}/{base}: time {t[measured] / t[base]:.2f}, "
          f"memory {m[measured] / m[base]:.2f}")


if __name__ == "__main__":
    main()
