#!/usr/bin/env python3
# Writes the batch benchmarks' input: 2,000 files of 50 KB of words and numbers, ten
# words to a line (LF), always the same (seeded). Usage: batch_files.py FOLDER
import os
import random
import sys

folder = sys.argv[1]
os.makedirs(folder)
words = ["the", "quick", "brown", "fox", "jumps", "over", "lazy", "dog",
         "line", "text", "file", "word"]
rng = random.Random(7)
for f in range(2000):
    parts, size, column = [], 0, 0
    while size < 50 * 1024:
        w = rng.randrange(16)
        word = words[w] if w < 12 else str(rng.randrange(100000))
        column += 1
        sep = "\n" if column % 10 == 0 else " "
        parts.append(word + sep)
        size += len(word) + 1
    with open(os.path.join(folder, "f%04d.txt" % f), "w", newline="") as out:
        out.write("".join(parts)[:50 * 1024])
