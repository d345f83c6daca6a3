#!/usr/bin/env python3
"""Idle cost of the companion next to a bare Qt Widgets tray application, measured in
the same run (never a test: figures depend on the machine).

  make bench     # first: builds the programs this measures into build-bench/
  bench/idle_cost.py [--build build-bench] [--seconds 60] [--runs 5]

Needs a display: without DISPLAY it re-runs itself under xvfb-run. It starts a tray of
its own (bench/tray_host, a small XEmbed host) so both programs dock their icon as they
would on a desktop. For each application: start-up (exec to the "event loop running"
line) and exec to its tray icon painted, medians of --runs starts; then one long run
with RSS at 10 s and at --seconds s, its threads, CPU time and wake-ups (voluntary
context switches of all its threads: every time the process went to sleep and was
woken, by us or by Qt) per minute between the two, and for the companion the callbacks
of our Scheduler's timers (its firedCount(), logged on SIGUSR1). Then, when umockdev is
there, the same wake-up figures with a simulated plan-2 receiver plugged in
(bench/receiver_wakeups).
"""
import argparse, os, re, signal, statistics, subprocess, sys, tempfile, threading, time

def reader(proc, lines):
    for raw in proc.stdout:
        lines.append(raw.decode("utf-8", "replace"))

def start(cmd, env, stdin=None):
    lines = []
    t0 = time.monotonic()
    proc = subprocess.Popen(cmd, env=env, stdin=stdin, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    threading.Thread(target=reader, args=(proc, lines), daemon=True).start()
    return proc, lines, t0

def wait_line(lines, pattern, timeout=30, start_at=0):
    end = time.monotonic() + timeout
    rx = re.compile(pattern)
    while time.monotonic() < end:
        for i in range(start_at, len(lines)):
            m = rx.search(lines[i])
            if m:
                return m, time.monotonic()
        time.sleep(0.002)
    raise RuntimeError("no line matching %r" % pattern)

def stop(proc):
    proc.send_signal(signal.SIGTERM)
    try:
        proc.wait(10)
    except subprocess.TimeoutExpired:
        proc.kill()

def cpu_seconds(pid):
    fields = open("/proc/%d/stat" % pid).read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")

def rss_kib(pid):
    for line in open("/proc/%d/status" % pid):
        if line.startswith("VmRSS:"):
            return int(line.split()[1])
    return 0

def context_switches(pid, kind="ctxt_switches"):
    """Per thread: a thread that ends takes its count with it, so deltas go by thread."""
    out = {}
    for task in os.listdir("/proc/%d/task" % pid):
        try:
            for line in open("/proc/%d/task/%s/status" % (pid, task)):
                if line.startswith(kind):
                    out[task] = int(line.split()[1])
        except OSError:
            pass
    return out

def switches_since(before, after):
    return sum(n - before.get(task, 0) for task, n in after.items())

def threads(pid):
    return len(os.listdir("/proc/%d/task" % pid))

def fired(proc, lines):
    at = len(lines)
    proc.send_signal(signal.SIGUSR1)
    m, _ = wait_line(lines, r"timers fired: (\d+)", 10, at)
    return int(m.group(1))

def tray_event_after(tray, kind, t0, timeout=30):
    """The first icon "docked" or "painted" after t0: (window, time in the tray host's
    clock, CLOCK_MONOTONIC), or None."""
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        for line in list(tray):
            f = line.split()
            if len(f) == 3 and f[0] == kind and float(f[2]) > t0:
                return int(f[1]), float(f[2])
        time.sleep(0.002)
    return None

def painted_after(tray, t0, timeout=30):
    event = tray_event_after(tray, "painted", t0, timeout)
    return event and event[1]

def load_average():
    """The one-minute load average: other work on the machine skews every figure."""
    return os.getloadavg()[0]

def measure(name, cmd, env, seconds, runs, counter, tray):
    starts, painted = [], []
    for _ in range(runs):
        proc, lines, t0 = start(cmd, env)
        _, t1 = wait_line(lines, "event loop running")
        starts.append(t1 - t0)
        t2 = painted_after(tray, t0)
        if t2 is not None:
            painted.append(t2 - t0)
        stop(proc)
    proc, lines, t0 = start(cmd, env)
    wait_line(lines, "event loop running")
    time.sleep(max(0, t0 + 10 - time.monotonic()))
    rss10 = rss_kib(proc.pid)
    # The counter's signal wakes the process: asked before the window opens and after it closes.
    f0 = fired(proc, lines) if counter else None
    time.sleep(0.2)
    cpu0, ctx0 = cpu_seconds(proc.pid), context_switches(proc.pid, "voluntary_ctxt_switches")
    w0 = time.monotonic()
    time.sleep(max(0, t0 + seconds - time.monotonic()))
    cpu1, ctx1 = cpu_seconds(proc.pid), context_switches(proc.pid, "voluntary_ctxt_switches")
    window = time.monotonic() - w0
    rss60, nthreads = rss_kib(proc.pid), threads(proc.pid)
    f1 = fired(proc, lines) if counter else None
    load = load_average()
    stop(proc)
    return {
        "name": name,
        "startup_s": statistics.median(starts),
        "painted_s": statistics.median(painted) if painted else None,
        "rss10_kib": rss10,
        "rss60_kib": rss60,
        "threads": nthreads,
        "cpu_s": cpu1 - cpu0,
        "wakeups_per_min": switches_since(ctx0, ctx1) * 60 / window,
        "timers_per_s": None if f0 is None else (f1 - f0) / window,
        "load": load,
    }

def start_tray(build, env):
    host = os.path.join(build, "bench", "tray_host")
    proc = subprocess.Popen([host], env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    lines = []
    def read():
        for line in proc.stdout:
            lines.append(line.strip())
    threading.Thread(target=read, daemon=True).start()
    end = time.monotonic() + 10
    while "ready" not in lines:
        if time.monotonic() > end or proc.poll() is not None:
            sys.exit("the tray host did not start: %s" % " ".join(lines))
        time.sleep(0.01)
    return proc, lines

def ensure_display():
    """Without a display, runs this script again under xvfb-run."""
    if not os.environ.get("DISPLAY"):
        os.execvp("xvfb-run", ["xvfb-run", "-a", "-s", "-screen 0 1280x800x24", sys.executable] + sys.argv)

def bench_env(data, base="http://127.0.0.1:9"):
    """The application's environment: its own data root, every maker host at `base`
    (by default nothing that listens), the XEmbed tray rather than a StatusNotifier
    host on some session bus."""
    env = dict(os.environ, QX_DATA_DIR=data)
    for var in ("QX_API_BASE", "QX_API2_BASE", "QX_WEB_BASE", "QX_WEATHER_BASE", "QX_SEMANTIC_BASE"):
        env[var] = base
    env["QX_ASR_BASE"] = "ws://127.0.0.1:9"
    env.pop("DBUS_SESSION_BUS_ADDRESS", None)
    return env

def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", default="build-bench")
    ap.add_argument("--seconds", type=int, default=60)
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--no-receiver", action="store_true", help="skip the run with a simulated receiver")
    args = ap.parse_args()
    companion = os.path.join(args.build, "quorvex-companion")
    bare = os.path.join(args.build, "bench", "bare_tray_app")
    for program in (companion, bare, os.path.join(args.build, "bench", "tray_host")):
        if not os.path.exists(program):
            sys.exit("%s is missing: run `make bench` first (or pass --build)" % program)
    ensure_display()
    env = bench_env(tempfile.mkdtemp(prefix="qx-idle-"))
    tray, tray_lines = start_tray(args.build, env)
    try:
        rows = [measure("bare Qt tray app", [bare], env, args.seconds, args.runs, False, tray_lines),
                measure("quorvex-companion", [companion], env, args.seconds, args.runs, True, tray_lines)]
    finally:
        tray.terminate()
    base, ours = rows
    ms = lambda v: "-" if v is None else "%.0f" % (v * 1000)
    print("%-20s %8s %8s %8s %8s %8s %8s %9s %9s %5s" % ("", "start ms", "tray ms", "RSS10", "RSS%d" % args.seconds,
          "threads", "CPU s", "wake/min", "timers/s", "load"))
    for r in rows:
        print("%-20s %8s %8s %8.1f %8.1f %8d %8.3f %9.1f %9s %5.2f" % (r["name"], ms(r["startup_s"]),
              ms(r["painted_s"]), r["rss10_kib"] / 1024, r["rss60_kib"] / 1024, r["threads"], r["cpu_s"],
              r["wakeups_per_min"], "-" if r["timers_per_s"] is None else "%.3f" % r["timers_per_s"], r["load"]))
    ratio = lambda k: ours[k] / base[k] if base[k] else float("nan")
    rss = max(ours["rss10_kib"], ours["rss60_kib"])
    print("RSS: %.2fx at 10 s, %.2fx at %d s (goal <= 1.3x and <= 45 MiB: %s)" % (
        ratio("rss10_kib"), ratio("rss60_kib"), args.seconds,
        "met" if rss <= 45 * 1024 and max(ratio("rss10_kib"), ratio("rss60_kib")) <= 1.3 else "missed"))
    if ours["painted_s"] and base["painted_s"]:
        print("exec -> tray icon painted: %.2fx (goal <= 1.5x: %s)" % (
            ratio("painted_s"), "met" if ratio("painted_s") <= 1.5 else "missed"))
    print("wake-ups per minute at idle: %.1f (goal <= 1: %s)" % (
        ours["wakeups_per_min"], "met" if ours["wakeups_per_min"] <= 1 else "missed"))
    driver = os.path.join(args.build, "bench", "receiver_wakeups")
    if os.path.exists(driver) and not args.no_receiver:
        out = subprocess.run([driver, companion, str(args.seconds)], capture_output=True, text=True,
                             env=dict(env, LD_PRELOAD="libumockdev-preload.so.0"))
        f = dict(kv.split("=") for kv in out.stdout.split() if "=" in kv)
        if "cpu_s" in f:
            print("companion + receiver: RSS %.1f MiB, CPU %.3f s, %.2f context switches/s, %.3f timers/s" % (
                int(f["rss_kib"]) / 1024, float(f["cpu_s"]), float(f["context_switches_per_s"]),
                float(f["our_timer_callbacks_per_s"])))
            print("  (receiver connected, no key pressed: it answers every connection poll; %s reports/s written;"
                  " load %.2f)" % (f["reports_per_s"], load_average()))
        else:
            print("with a simulated plan-2 receiver:", out.stdout.strip() or out.stderr.strip()[-400:])

if __name__ == "__main__":
    main()
