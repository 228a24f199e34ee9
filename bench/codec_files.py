#!/usr/bin/env python3
# Writes the codec benchmark's inputs of about MB megabytes each, always the same
# (seeded): latin-cp1252.txt and latin-utf8.txt (German, French and English text whose
# every character Windows-1252 holds), mixed-utf8.txt and mixed-utf16.txt (the same Latin
# lines with Cyrillic, Greek, CJK and emoji lines; UTF-16 LE with its mark).
# Usage: codec_files.py FOLDER MB
import os
import random
import sys

folder, mb = sys.argv[1], int(sys.argv[2])
latin = [
    "Zwölf Boxkämpfer jagen Viktor quer über den großen Sylter Deich.\r\n",
    "Le cœur déçu mais l'âme plutôt naïve, Louÿs rêva de crapaüter — 12 €.\r\n",
    "„Preis“ • Œuvre™ ‰ ž Ÿ: the quick brown fox jumps over the lazy dog.\r\n",
    "Plain ASCII configuration line: key=value; other=42\r\n",
    "Größe, Übergröße und Käfer für Bären; Straße Nr. 17, 53111 Bonn.\r\n",
]
other = [
    "Съешь же ещё этих мягких французских булок, да выпей чаю.\r\n",
    "Ξεσκεπάζω την ψυχοφθόρα βδελυγμία.\r\n",
    "いろはにほへと ちりぬるを わかよたれそ つねならむ\r\n",
    "我能吞下玻璃而不伤身体。\r\n",
    "Emoji 😀 and more 🎉 in a line, with € and ™.\r\n",
]
rng = random.Random(3)


def text(lines, weights):
    block = "".join(rng.choices(lines, weights, k=20000))
    size = len(block.encode("utf-8"))
    return block * max(1, (mb << 20) // size)


os.makedirs(folder, exist_ok=True)
lat = text(latin, [3, 2, 1, 4, 2])
with open(os.path.join(folder, "latin-cp1252.txt"), "wb") as f:
    f.write(lat.encode("cp1252"))
with open(os.path.join(folder, "latin-utf8.txt"), "wb") as f:
    f.write(lat.encode("utf-8"))
del lat
mix = text(latin + other, [3, 2, 1, 4, 2, 1, 1, 1, 1, 1])
with open(os.path.join(folder, "mixed-utf8.txt"), "wb") as f:
    f.write(mix.encode("utf-8"))
with open(os.path.join(folder, "mixed-utf16.txt"), "wb") as f:
    f.write(b"\xff\xfe" + mix.encode("utf-16-le"))
