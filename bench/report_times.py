#!/usr/bin/env python3
# Medians, ratios (ours / peer, above 1 = slower) and peak memory of the rounds that
# bench_timed recorded. Usage: report_times.py TIMES BENCHMARK MB OURS
# where MB is the size of one case's input (a number, or case=number pairs separated by
# commas). Rows also go to the table file named by QUORBEL_BENCH_TABLE.
import os
import statistics
import sys

times, benchmark, sizes, ours = sys.argv[1:5]
rows = {}
for line in open(times):
    case, side, wall, user, sysc, kb = line.split()
    rows.setdefault(case, {}).setdefault(side, []).append(
        (float(wall), float(user) + float(sysc), int(kb)))
size_of = {}
for part in sizes.split(","):
    name, _, value = part.rpartition("=")
    size_of[name] = float(value)

table_path = os.environ.get("QUORBEL_BENCH_TABLE")
table = open(table_path, "a") if table_path else None
print(f"\n{'case':14s} {'peer':14s} {'ratio':>6s} {'cpu ratio':>9s} {'ours s':>8s} "
      f"{'peer s':>8s} {'ours MB/s':>9s} {'ours MB':>8s} {'peer MB':>8s} rounds")
for case, sides in rows.items():
    med = {s: (statistics.median(r[0] for r in v), statistics.median(r[1] for r in v),
               max(r[2] for r in v) / 1024.0) for s, v in sides.items()}
    mb = size_of.get(case, size_of.get("", 0.0))
    o = med[ours]
    for peer, p in med.items():
        if peer == ours:
            continue
        ratio = o[0] / p[0] if p[0] > 0 else 0.0
        cpu = o[1] / p[1] if p[1] > 0 else 0.0
        speed = mb / o[0] if o[0] > 0 else 0.0
        print(f"{case:14s} {peer:14s} {ratio:6.2f} {cpu:9.2f} {o[0]:8.3f} {p[0]:8.3f} "
              f"{speed:9.0f} {o[2]:8.1f} {p[2]:8.1f} {len(sides[ours])}")
        if table:
            table.write(f"{benchmark}\t{case}\t{peer}\t{ratio}\t{o[0]}\t{p[0]}\t{speed}\t"
                        f"{o[2]}\t{p[2]}\n")
