"""Load on the demo portal: CONNECTIONS keep-alive connections for SECONDS, each a visitor of its
own going round the film list, a search, adding a favourite and listing the favourites. Prints
requests per second, the median and 99th percentile answer times and the errors, then checks
that every favourite each visitor added is in its list. Run through bench/portal-load.sh.
"""
import http.client
import re
import statistics
import sys
import threading
import time
import urllib.parse

port, connections, seconds = int(sys.argv[1]), int(sys.argv[2]), float(sys.argv[3])
FILMS = list(range(1001, 1048))
KEYWORDS = ["江南", "星港", "lily chen", "萧逸", "1+1", "不存在的片子"]
lock = threading.Lock()
times, errors, missing = [], [0], [0]


def visitor(index, deadline):
    connection = http.client.HTTPConnection("127.0.0.1", port, timeout=10)
    cookie = ""
    added = set()
    own, step = [], 0

    def get(target):
        nonlocal cookie, connection
        start = time.perf_counter()
        try:
            connection.request("GET", target, headers={"Cookie": cookie} if cookie else {})
            reply = connection.getresponse()
            body = reply.read()
            if reply.status != 200:
                raise OSError(f"status {reply.status}")
        except (OSError, http.client.HTTPException):
            with lock:
                errors[0] += 1
            connection.close()
            connection = http.client.HTTPConnection("127.0.0.1", port, timeout=10)
            return b""
        own.append(time.perf_counter() - start)
        for header in reply.headers.get_all("Set-Cookie") or []:
            cookie = header.split(";", 1)[0]
        return body

    while time.perf_counter() < deadline:
        film = FILMS[(index * 7 + step) % len(FILMS)]
        keyword = urllib.parse.quote(KEYWORDS[step % len(KEYWORDS)])
        get("/ty_00.html")
        get("/search2010.asp?searchword=" + keyword)
        get(f"/scj.asp?scid={film}&scna=" + urllib.parse.quote(f"影片{film}"))
        added.add(film)
        get("/scj.asp")
        step += 1
    listing = get("/scj.asp").decode("utf-8", "replace")
    shown = {int(film) for film in re.findall(r"vrtata\.asp\?id=(\d+)", listing)}
    with lock:
        times.extend(own)
        missing[0] += len(added - shown)


def main():
    deadline = time.perf_counter() + seconds
    threads = [threading.Thread(target=visitor, args=(i, deadline)) for i in range(connections)]
    start = time.perf_counter()
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    elapsed = time.perf_counter() - start
    times.sort()
    p99 = times[int(len(times) * 0.99) - 1] if times else 0
    print(f"{connections} connections, {elapsed:.1f} s: {len(times)} answers, "
          f"{len(times) / elapsed:.0f} requests/s, p50 {statistics.median(times) * 1000:.1f} ms, "
          f"p99 {p99 * 1000:.1f} ms, {errors[0]} errors")
    print(f"favourites missing afterwards: {missing[0]}")
    sys.exit(1 if errors[0] or missing[0] else 0)


if __name__ == "__main__":
    main()
