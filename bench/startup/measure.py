#!/usr/bin/env python3
"""Starts the program on a data folder inside an X display, notes when its window is mapped,
asks it to end at once (as a logout does) and reports the times and its peak memory."""
import os
import signal
import subprocess
import sys
import time

program, data, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
shown, total, peak = [], [], []
for _ in range(runs):
    start = time.monotonic()
    child = subprocess.Popen([program], cwd=data, env=dict(os.environ, QT_QPA_PLATFORM="xcb"),
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    while subprocess.run(["xdotool", "search", "--onlyvisible", "--name", r"^Oxlip 0\.12\.7\.15$"],
                         stdout=subprocess.DEVNULL).returncode != 0:
        if child.poll() is not None:
            sys.exit("the program ended before its window showed")
        time.sleep(0.005)
    shown.append(time.monotonic() - start)
    child.send_signal(signal.SIGTERM)
    _, status, usage = os.wait4(child.pid, 0)
    total.append(time.monotonic() - start)
    peak.append(usage.ru_maxrss / 1024)
    with open(os.path.join(data, "Instances", "sort.ini")) as f:
        if len(f.read().split()) < 500:
            sys.exit("sort.ini lost instances: the lists were not filled")


def line(name, values, unit):
    values = sorted(values)
    print(f"{name:<28} min {values[0]:8.3f}  median {values[len(values) // 2]:8.3f}  max {values[-1]:8.3f} {unit}")


print(f"{runs} runs: 500 instances, 300 mods, 100 stored versions")
line("window shown", shown, "s")
line("start-up and shutdown", total, "s")
line("peak resident memory", peak, "MB")
