#!/usr/bin/env python3
"""Processor share of running programs over one window of wall time.

  cpu_share.py SECONDS LABEL=PID [LABEL=PID ...]

Reads each thread's time on a processor (/proc/PID/task/*/schedstat, in
nanoseconds: clock ticks are too coarse for shares of 0.1 %) at the start and
end of the window and prints, for
each program, every thread's share of one core (by thread name, those above
0.005 %) and the whole process's share, then the load average."""
import os
import sys
import time

TICKS = os.sysconf("SC_CLK_TCK")


def thread_times(pid):
    """{tid: (name, cpu seconds)} of a process's threads; empty once it has ended."""
    out = {}
    try:
        tids = os.listdir(f"/proc/{pid}/task")
    except FileNotFoundError:
        return out
    for tid in tids:
        try:
            with open(f"/proc/{pid}/task/{tid}/stat") as f:
                stat = f.read()
        except (FileNotFoundError, ProcessLookupError):
            continue
        # The name is in parentheses and may hold spaces.
        name = stat[stat.index("(") + 1:stat.rindex(")")]
        fields = stat[stat.rindex(")") + 2:].split()
        cpu = (int(fields[11]) + int(fields[12])) / TICKS
        try:
            with open(f"/proc/{pid}/task/{tid}/schedstat") as f:
                cpu = int(f.read().split()[0]) / 1e9
        except (FileNotFoundError, ProcessLookupError, ValueError):
            pass
        out[tid] = (name, cpu)
    return out


def main():
    seconds = float(sys.argv[1])
    programs = [a.split("=", 1) for a in sys.argv[2:]]
    before = {label: thread_times(pid) for label, pid in programs}
    start = time.monotonic()
    time.sleep(seconds)
    wall = time.monotonic() - start
    after = {label: thread_times(pid) for label, pid in programs}
    for label, _ in programs:
        by_name = {}
        for tid, (name, cpu) in after[label].items():
            used = cpu - before[label].get(tid, (name, 0.0))[1]
            by_name[name] = by_name.get(name, 0.0) + used
        # Threads that ended during the window count up to their last reading.
        for tid, (name, cpu) in before[label].items():
            if tid not in after[label]:
                by_name.setdefault(name, 0.0)
        total = sum(by_name.values())
        print(f"  {label:<10} whole process {100 * total / wall:6.2f} % of one core")
        for name, used in sorted(by_name.items(), key=lambda x: -x[1]):
            if 100 * used / wall >= 0.005:
                print(f"  {'':<10}   {name:<18} {100 * used / wall:6.2f} %")
    with open("/proc/loadavg") as f:
        print(f"  load average {f.read().split()[0]}")


if __name__ == "__main__":
    main()
