#!/usr/bin/env python3
"""What the companion's windows cost, measured on the running application from outside
(never a test: figures depend on the machine).

  make bench     # first: builds the programs this uses into build-bench/
  bench/window_cost.py [--build build-bench] [--runs 3] [--after 60]

Needs umockdev (libumockdev-preload) and a display: without DISPLAY it re-runs itself
under xvfb-run, with its own tray (bench/tray_host) as in bench/idle_cost.py. The
maker's hosts point at a small local server that hands out a device profile with an
AI key (so the device page offers its AI button) and a plain page for the AI window;
nothing goes to the internet. Each run starts the application afresh:

  1. idle with no device, RSS 10 s after start;
  2. a simulated receiver plugged in (bench/receiver_wakeups --serve): the main window
     comes up by itself on that first connection and is closed; RSS 10 s later is the
     idle figure the windows are compared with;
  3. tray icon clicked (XTest, bench/window_probe) -> its menu painted; "Open" clicked
     -> the main window mapped and painted;
  4. each other tab clicked -> the page area's pixels changed, first visits then again;
  5. main window closed (WM_DELETE_WINDOW, as a window manager's close button): RSS
     10 s later;
  6. main window opened again, the device page's AI button clicked -> the AI window
     painted, and -> the page painted inside it (the stand-in page's own colour is on
     the screen); after 5 s it and the main window are closed: RSS and the web engine's
     processes (the page's helper, qx-aiweb, among them) 10 s and --after s later;
  7. the AI window opened a second time -> painted and page painted, then --cycles more
     opens and closes: RSS and the web processes 2 s after each close (listed) and 10 s
     after the last.

--program runs another build of the companion with the same tools (an older one, to
compare with).

Times are from the moment the click was sent to the first poll (1 ms apart) that saw
the result on the X server.
"""
import argparse, http.server, json, os, statistics, subprocess, sys, tempfile, threading, time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import idle_cost as ic  # noqa: E402

MAIN_SIZE = (1080, 720)
LEFT_COLUMN = 200  # the tab bar; the pages fill the rest
TAB_X, TAB_TOP, TAB_HEIGHT, TABS = 100, 80, 48, 4  # a receiver's mouse: device, smart, software, personal
AI_BUTTON = (755, 105)  # the device page's AI button, in the main window
MAIN_LOOK = (200, 200)  # the main window is painted once its logo shows
PAGE_COLOUR = "1e90ff"  # the stand-in page's background: nothing else in the AI window has it


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True


def serve_maker(profile):
    """The maker's API (the device profile) and web pages, on a free local port."""
    page = (b"<!doctype html><html><body style='background:#%s'><h1>AI</h1><p>The bench's stand-in page.</p>"
            b"</body></html>" % PAGE_COLOUR.encode())

    class Handler(http.server.BaseHTTPRequestHandler):
        def reply(self, status, body, kind):
            self.send_response(status)
            self.send_header("Content-Type", kind)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)

        def answer(self):
            length = int(self.headers.get("Content-Length") or 0)
            if length:
                self.rfile.read(length)
            if self.path.split("?")[0].endswith("/getModelInfo"):
                self.reply(200, json.dumps({"rc": 0, "msg": "ok", "data": profile}).encode(), "application/json")
            elif self.path.startswith("/chat/"):
                self.reply(200, page, "text/html")
            else:
                self.reply(404, b'{"rc":404,"msg":"not here"}', "application/json")

        do_GET = do_POST = answer

        def log_message(self, *args):
            pass

    server = Server(("127.0.0.1", 0), Handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, "http://127.0.0.1:%d" % server.server_address[1]


class Probe:
    """bench/window_probe: one command, one answer."""

    def __init__(self, build, env):
        self.proc = subprocess.Popen([os.path.join(build, "bench", "window_probe")], env=env, text=True,
                                     stdin=subprocess.PIPE, stdout=subprocess.PIPE)

    def ask(self, *words):
        self.proc.stdin.write(" ".join(str(w) for w in words) + "\n")
        self.proc.stdin.flush()
        answer = self.proc.stdout.readline().split()
        if not answer or answer[0] in ("none", "error"):
            raise RuntimeError("%s: no answer (%s)" % (" ".join(str(w) for w in words), " ".join(answer)))
        return answer

    def shown(self, x, y, min_w, min_h, timeout=10, look=()):
        """Clicks and waits for a new window: (id, x, y, w, h, ms to mapped, ms to painted)."""
        a = self.ask("click-show", x, y, min_w, min_h, timeout, *look)
        return tuple(int(v) for v in a[1:6]) + (float(a[6]), float(a[7]))

    def ai_shown(self, x, y):
        """The AI button clicked: as shown(), the last figure the page's first paint inside it."""
        a = self.ask("click-show", x, y, 300, 300, 30, 1 << 15, 1 << 15, PAGE_COLOUR)
        if float(a[8]) < 0:
            raise RuntimeError("the AI window showed no page (mostly #%s)" % a[9])
        return tuple(int(v) for v in a[1:6]) + tuple(float(v) for v in a[6:9])


def web_processes(pid):
    """The web engine's processes below pid: how many, and of which --type ("zygote=2")."""
    parent, web = {}, {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            stat = open("/proc/%s/stat" % entry).read()
            parent[int(entry)] = int(stat.rsplit(")", 1)[1].split()[1])
            args = open("/proc/%s/cmdline" % entry, "rb").read().split(b"\0")
            if any(b"QtWebEngineProcess" in a for a in args):
                types = [a[7:].decode() for a in args if a.startswith(b"--type=")]
                web[int(entry)] = types[0] if types else "?"
            elif args and args[0].endswith(b"qx-aiweb"):
                web[int(entry)] = "helper"
        except (OSError, ValueError, IndexError):
            pass
    def below(p):
        while p > 1:
            p = parent.get(p, 0)
            if p == pid:
                return True
        return False
    mine = sorted(t for p, t in web.items() if below(p))
    return len(mine), " ".join("%s=%d" % (t, mine.count(t)) for t in sorted(set(mine))) or "none"


def rss_parts_mib(pid):
    """Of the resident set: anonymous memory and mapped files (libraries)."""
    parts = {}
    for line in open("/proc/%d/status" % pid):
        if line.startswith(("RssAnon:", "RssFile:")):
            parts[line.split(":")[0]] = int(line.split()[1]) / 1024
    return parts.get("RssAnon", 0), parts.get("RssFile", 0)


def sample(fig, name, value):
    fig[name] = (value, ic.load_average())


def open_main(probe, icon, fig=None):
    """Tray icon -> its menu -> "Open": the main window's id and top-left corner."""
    x, y = (int(v) for v in probe.ask("centre", icon)[1:3])
    menu = probe.shown(x, y, 1, 1)
    # "Open" is the first of the menu's two entries.
    main = probe.shown(menu[1] + menu[3] // 2, menu[2] + menu[4] // 4, *MAIN_SIZE, look=MAIN_LOOK)
    if fig is not None:
        sample(fig, "tray click -> menu painted ms", menu[6])
        sample(fig, "menu Open -> main window mapped ms", main[5])
        sample(fig, "menu Open -> main window painted ms", main[6])
        sample(fig, "tray click -> main window painted ms (both clicks)", menu[6] + main[6])
    return main[0], main[1], main[2]


def tab_centre(wx, wy, i):
    return wx + TAB_X, wy + TAB_TOP + TAB_HEIGHT * i + TAB_HEIGHT // 2


def one_run(args, env, tray, probe):
    fig = {}
    data = tempfile.mkdtemp(prefix="qx-window-")
    driver = os.path.join(args.build, "bench", "receiver_wakeups")
    proc, lines, t0 = ic.start([driver, "--serve", args.program or os.path.join(args.build, "quorvex-companion")],
                               dict(env, QX_DATA_DIR=data, LD_PRELOAD="libumockdev-preload.so.0"),
                               stdin=subprocess.PIPE)
    try:
        pid = int(ic.wait_line(lines, r"^pid (\d+)")[0].group(1))
        ic.wait_line(lines, "event loop running")
        docked = ic.tray_event_after(tray, "docked", t0)
        if not docked:
            raise RuntimeError("the companion's icon did not dock")
        icon = docked[0]
        time.sleep(max(0, t0 + 10 - time.monotonic()))
        sample(fig, "RSS no device, 10 s after start MiB", ic.rss_kib(pid) / 1024)

        at = len(lines)
        proc.stdin.write(b"plug\n")
        proc.stdin.flush()
        ic.wait_line(lines, "status item: connected", 20, at)
        # The first connection after launch brings the main window up by itself.
        first = probe.ask("wait-window", MAIN_SIZE[0], MAIN_SIZE[1], 20)
        time.sleep(2)  # the profile arrives, the device page settles
        probe.ask("close", first[1], 5)
        time.sleep(10)
        idle, idle_parts = ic.rss_kib(pid) / 1024, rss_parts_mib(pid)
        sample(fig, "RSS receiver, idle MiB", idle)

        win, wx, wy = open_main(probe, icon, fig)
        time.sleep(1)
        page = (wx + LEFT_COLUMN, wy, MAIN_SIZE[0] - LEFT_COLUMN, MAIN_SIZE[1])
        for visit, order in (("first", range(1, TABS)), ("again", range(TABS))):
            times = []
            for i in order:
                times.append(float(probe.ask("click-change", *tab_centre(wx, wy, i), *page, 5)[1]))
                time.sleep(0.8)
            sample(fig, "tab switch, %s visit ms (slowest)" % visit, max(times))
            sample(fig, "tab switch, %s visit ms (median)" % visit, statistics.median(times))
        probe.ask("close", win, 5)
        time.sleep(10)
        sample(fig, "RSS 10 s after main window closed MiB", ic.rss_kib(pid) / 1024)

        win, wx, wy = open_main(probe, icon)
        probe.ask("click", *tab_centre(wx, wy, 0))
        time.sleep(1.5)
        try:
            ai = probe.ai_shown(wx + AI_BUTTON[0], wy + AI_BUTTON[1])
        except RuntimeError as e:
            raise RuntimeError("no AI window from the device page's AI button (%s)" % e)
        sample(fig, "AI button -> AI window mapped ms", ai[5])
        sample(fig, "AI button -> AI window painted ms", ai[6])
        sample(fig, "AI button -> page painted ms", ai[7])
        time.sleep(5)
        sample(fig, "RSS AI window showing MiB", ic.rss_kib(pid) / 1024)
        count, types = web_processes(pid)
        sample(fig, "web processes, AI window showing", count)
        fig["kinds: AI window showing"] = types
        probe.ask("close", ai[0], 5)
        probe.ask("close", win, 5)
        closed = time.monotonic()
        for after in (10, args.after):
            time.sleep(max(0, closed + after - time.monotonic()))
            rss = ic.rss_kib(pid) / 1024
            sample(fig, "RSS %d s after AI window closed MiB" % after, rss)
            sample(fig, "RSS rise %d s after AI window closed MiB" % after, rss - idle)
            anon, files = rss_parts_mib(pid)
            sample(fig, "  of which anonymous memory MiB (%d s)" % after, anon - idle_parts[0])
            sample(fig, "  of which mapped files MiB (%d s)" % after, files - idle_parts[1])
            count, types = web_processes(pid)
            sample(fig, "web processes %d s after AI window closed" % after, count)
            fig["kinds: %d s after AI window closed" % after] = types
        cycle_rss, cycle_web, cycle_paint = [], [], []
        for n in range(1 + args.cycles):
            win, wx, wy = open_main(probe, icon)
            probe.ask("click", *tab_centre(wx, wy, 0))
            time.sleep(1.5)
            ai = probe.ai_shown(wx + AI_BUTTON[0], wy + AI_BUTTON[1])
            if n == 0:
                sample(fig, "second open: AI button -> AI window painted ms", ai[6])
                sample(fig, "second open: AI button -> page painted ms", ai[7])
            else:
                cycle_paint.append(ai[7])
            time.sleep(3)
            probe.ask("close", ai[0], 5)
            probe.ask("close", win, 5)
            time.sleep(2)
            cycle_rss.append(ic.rss_kib(pid) / 1024)
            cycle_web.append(web_processes(pid)[0])
        if cycle_paint:
            sample(fig, "cycles: AI button -> page painted ms (median)", statistics.median(cycle_paint))
            sample(fig, "cycles: AI button -> page painted ms (slowest)", max(cycle_paint))
        sample(fig, "cycles: RSS 2 s after the last close - after the first MiB", cycle_rss[-1] - cycle_rss[0])
        fig["RSS MiB 2 s after each close"] = " ".join("%.1f" % v for v in cycle_rss)
        fig["web processes 2 s after each close"] = " ".join(str(v) for v in cycle_web)
        time.sleep(10)
        rss = ic.rss_kib(pid) / 1024
        sample(fig, "RSS 10 s after %d more AI opens MiB" % (1 + args.cycles), rss)
        sample(fig, "RSS rise 10 s after %d more AI opens MiB" % (1 + args.cycles), rss - idle)
        count, types = web_processes(pid)
        sample(fig, "web processes after %d more AI opens" % (1 + args.cycles), count)
    finally:
        proc.stdin.close()
        try:
            proc.wait(20)
        except subprocess.TimeoutExpired:
            proc.kill()
    return fig


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", default="build-bench")
    ap.add_argument("--runs", type=int, default=3)
    ap.add_argument("--after", type=int, default=60, help="seconds after the AI window closed for the last RSS")
    ap.add_argument("--cycles", type=int, default=10, help="AI window opens and closes after the second one")
    ap.add_argument("--program", help="the companion to run (default: the build's)")
    args = ap.parse_args()
    for program in ("quorvex-companion", "bench/tray_host", "bench/window_probe", "bench/receiver_wakeups"):
        if not os.path.exists(os.path.join(args.build, program)):
            sys.exit("%s is missing: run `make bench` first (or pass --build)" % os.path.join(args.build, program))
    ic.ensure_display()
    profile = json.load(open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "data",
                                          "profile_keys.json")))
    server, base = serve_maker(profile)
    # The maker's chat page is the AI window's page (without it the window shows the
    # application's own page, which has no colour of its own to wait for).
    profile["chatChromeUrl"] = base + "/chat/index.html"
    for entry in profile.get("images", []):
        for images in entry.values():
            for image in images:
                image["img"] = base + "/mouse.png"
    env = ic.bench_env(tempfile.mkdtemp(prefix="qx-window-"), base)
    env["QX_AI_WEB_BASE"] = base + "/chat/index.html"
    tray, tray_lines = ic.start_tray(args.build, env)
    probe = Probe(args.build, env)
    runs = []
    try:
        for n in range(args.runs):
            runs.append(one_run(args, env, tray_lines, probe))
            print("run %d: %s" % (n + 1, json.dumps({k: v if isinstance(v, str) else round(v[0], 1)
                                                    for k, v in runs[-1].items()})), flush=True)
    finally:
        probe.proc.stdin.close()
        tray.terminate()
        server.shutdown()
    print("\n%-52s %9s %9s %s" % ("median of %d runs" % len(runs), "value", "load", "each run"))
    for name in (k for k, v in runs[0].items() if not isinstance(v, str)):
        values = [r[name][0] for r in runs if name in r]
        loads = [r[name][1] for r in runs if name in r]
        print("%-52s %9.1f %9.2f %s" % (name, statistics.median(values), statistics.median(loads),
                                        " ".join("%.1f" % v for v in values)))


if __name__ == "__main__":
    main()
