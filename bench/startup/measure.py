#!/usr/bin/env python3
"""Starts the program on a data folder inside an X display and reports, per run: when its window
was mapped, when it first showed the screen of icons it shows at rest (bench_first_screen), until
when it was busy (reading the other icons), and its peak memory after it was asked to end (as a
logout does). Prints the median of the runs with their least and greatest values.
Usage: measure.py PROGRAM DATA RUNS WATCHER INSTANCES"""
import os
import signal
import subprocess
import sys
import time

program, data, runs, watcher, instances = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4], int(sys.argv[5])
ticks = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / ticks


def wait_until_idle(pid, start):
    """The time the program last used the processor, once it has been idle for a second."""
    busy_until, last = time.monotonic(), cpu_seconds(pid)
    while time.monotonic() - busy_until < 1.0:
        time.sleep(0.05)
        now = cpu_seconds(pid)
        if now - last > 0.01:
            busy_until = time.monotonic()
        last = now
    return busy_until - start


figures = {"mapped": [], "first_screen": [], "busy_until": [], "peak": []}
for _ in range(runs):
    start = time.monotonic()
    child = subprocess.Popen([program], cwd=data, env=dict(os.environ, QT_QPA_PLATFORM="xcb"),
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    watch = subprocess.Popen([watcher, "Oxlip 0.12.7.15", repr(start)], stdin=subprocess.PIPE,
                             stdout=subprocess.PIPE, text=True)
    figures["busy_until"].append(wait_until_idle(child.pid, start))
    out, _ = watch.communicate("")
    if watch.returncode != 0:
        sys.exit("the window was not seen")
    for line in out.split("\n"):
        if line:
            name, value = line.split()
            figures[name].append(float(value))
    child.send_signal(signal.SIGTERM)
    _, status, usage = os.wait4(child.pid, 0)
    figures["peak"].append(usage.ru_maxrss / 1024)
    with open(os.path.join(data, "Instances", "sort.ini")) as f:
        if len(f.read().splitlines()) < instances:
            sys.exit("sort.ini lost instances: the lists were not filled")


def line(name, values, unit):
    values = sorted(values)
    print(f"{name:<36} median {values[len(values) // 2]:7.3f} {unit}  (min {values[0]:.3f}, max {values[-1]:.3f})")


print(f"{runs} runs")
line("window mapped", figures["mapped"], "s")
line("window shown with its first icons", figures["first_screen"], "s")
line("busy until (the other icons read)", figures["busy_until"], "s")
line("peak resident memory", figures["peak"], "MB")
