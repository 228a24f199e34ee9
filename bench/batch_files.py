#!/usr/bin/env python3
# Writes the batch benchmarks' input: COUNT files of SIZE KB of words and numbers, ten
# words to a line (LF), always the same (seeded). Usage: batch_files.py FOLDER [COUNT SIZE]
# (default: 2,000 files of 50 KB).
import os
import random
import sys

folder = sys.argv[1]
count = int(sys.argv[2]) if len(sys.argv) > 2 else 2000
size_kb = int(sys.argv[3]) if len(sys.argv) > 3 else 50
os.makedirs(folder)
words = ["the", "quick", "brown", "fox", "jumps", "over", "lazy", "dog",
         "line", "text", "file", "word"]
rng = random.Random(7)


def line():
    parts = []
    for column in range(10):
        w = rng.randrange(16)
        parts.append(words[w] if w < 12 else str(rng.randrange(100000)))
    return " ".join(parts) + "\n"


# Large files are made of lines drawn from a pool, which is much quicker than words.
pool = [line() for _ in range(20000)] if size_kb > 1024 else None
for f in range(count):
    parts, size = [], 0
    while size < size_kb * 1024:
        text = rng.choice(pool) if pool else line()
        parts.append(text)
        size += len(text)
    with open(os.path.join(folder, "f%04d.txt" % f), "w", newline="") as out:
        out.write("".join(parts)[:size_kb * 1024])
