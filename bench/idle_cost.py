#!/usr/bin/env python3
"""Idle cost of the companion next to a bare Qt Widgets tray application, measured in
the same run (never a test: figures depend on the machine).

  make bench     # first: builds the programs this measures into build-bench/
  bench/idle_cost.py [--build build-bench] [--seconds 60] [--runs 5]

Needs a display for the tray icon: without DISPLAY it re-runs itself under xvfb-run.
For each application: start-up time (exec to the "event loop running" line, median of
--runs starts), RSS 10 s after start, CPU time over the next --seconds, context switches
per second of all its threads over the same window (every wake-up of the process, ours
or Qt's), and for the companion the callbacks of our Scheduler's timers per second
(its firedCount(), logged on SIGUSR1). Then, when umockdev is there, the same wake-up
figures with a simulated plan-2 receiver plugged in (bench/receiver_wakeups).
"""
import argparse, os, re, signal, statistics, subprocess, sys, tempfile, threading, time

def reader(proc, lines):
    for raw in proc.stdout:
        lines.append(raw.decode("utf-8", "replace"))

def start(cmd, env):
    lines = []
    t0 = time.monotonic()
    proc = subprocess.Popen(cmd, env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
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

def context_switches(pid):
    total = 0
    for task in os.listdir("/proc/%d/task" % pid):
        try:
            for line in open("/proc/%d/task/%s/status" % (pid, task)):
                if "ctxt_switches" in line:
                    total += int(line.split()[1])
        except OSError:
            pass
    return total

def fired(proc, lines):
    at = len(lines)
    proc.send_signal(signal.SIGUSR1)
    m, _ = wait_line(lines, r"timers fired: (\d+)", 10, at)
    return int(m.group(1))

def measure(name, cmd, env, seconds, runs, counter):
    starts = []
    for _ in range(runs):
        proc, lines, t0 = start(cmd, env)
        _, t1 = wait_line(lines, "event loop running")
        starts.append(t1 - t0)
        stop(proc)
    proc, lines, _ = start(cmd, env)
    wait_line(lines, "event loop running")
    time.sleep(10)
    rss = rss_kib(proc.pid)
    cpu0, ctx0 = cpu_seconds(proc.pid), context_switches(proc.pid)
    f0 = fired(proc, lines) if counter else None
    time.sleep(seconds)
    cpu1, ctx1 = cpu_seconds(proc.pid), context_switches(proc.pid)
    f1 = fired(proc, lines) if counter else None
    stop(proc)
    return {
        "name": name,
        "startup_s": statistics.median(starts),
        "rss_kib": rss,
        "cpu_s": cpu1 - cpu0,
        "ctx_per_s": (ctx1 - ctx0) / seconds,
        "timers_per_s": None if f0 is None else (f1 - f0) / seconds,
    }

def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", default="build-bench")
    ap.add_argument("--seconds", type=int, default=60)
    ap.add_argument("--runs", type=int, default=5)
    args = ap.parse_args()
    companion = os.path.join(args.build, "quorvex-companion")
    bare = os.path.join(args.build, "bench", "bare_tray_app")
    for program in (companion, bare):
        if not os.path.exists(program):
            sys.exit("%s is missing: run `make bench` first (or pass --build)" % program)
    if not os.environ.get("DISPLAY"):
        os.execvp("xvfb-run", ["xvfb-run", "-a", sys.executable] + sys.argv)
    data = tempfile.mkdtemp(prefix="qx-idle-")
    env = dict(os.environ, QX_DATA_DIR=data, QX_API_BASE="http://127.0.0.1:9", QX_API2_BASE="http://127.0.0.1:9",
               QX_WEB_BASE="http://127.0.0.1:9")
    rows = [measure("bare Qt tray app", [bare], env, args.seconds, args.runs, False),
            measure("quorvex-companion", [companion], env, args.seconds, args.runs, True)]
    base, ours = rows
    print("%-20s %10s %10s %10s %12s %12s" % ("", "start-up s", "RSS MiB", "CPU s", "ctx sw/s", "our timers/s"))
    for r in rows:
        print("%-20s %10.3f %10.1f %10.3f %12.2f %12s" % (r["name"], r["startup_s"], r["rss_kib"] / 1024, r["cpu_s"],
              r["ctx_per_s"], "-" if r["timers_per_s"] is None else "%.3f" % r["timers_per_s"]))
    print("ratios companion/bare: start-up %.2f, RSS %.2f" % (ours["startup_s"] / base["startup_s"],
                                                             ours["rss_kib"] / base["rss_kib"]))
    driver = os.path.join(args.build, "bench", "receiver_wakeups")
    if os.path.exists(driver):
        out = subprocess.run([driver, companion, str(args.seconds)], capture_output=True, text=True,
                             env=dict(env, LD_PRELOAD="libumockdev-preload.so.0"))
        f = dict(kv.split("=") for kv in out.stdout.split() if "=" in kv)
        if "cpu_s" in f:
            print("%-20s %10s %10.1f %10.3f %12.2f %12.3f" % ("companion + receiver", "-", int(f["rss_kib"]) / 1024,
                  float(f["cpu_s"]), float(f["context_switches_per_s"]), float(f["our_timer_callbacks_per_s"])))
            print("  (receiver connected, no key pressed: it answers every connection poll; %s reports/s written)"
                  % f["reports_per_s"])
        else:
            print("with a simulated plan-2 receiver:", out.stdout.strip() or out.stderr.strip()[-400:])

if __name__ == "__main__":
    main()
