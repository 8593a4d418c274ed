#!/usr/bin/env python3
"""Writes the finders' benchmark workload: a file tree of 100,000 files in 5,000 folders.

Names repeat across folders (each name of a large pool two or three times, a few names fifty
times and more), each name takes one of a few sizes, and one file in ten is a true duplicate of
an earlier file of its name (same bytes, same time). Contents and times come from a fixed seed,
so the tree is the same on every machine.

    scripts/make-tools-workload.py <folder> [--files 100000] [--folders 5000]
"""

import argparse
import os
import random

BASE_TIME = 1_600_000_000  # seconds since 1970, an even number: FAT-style times stay exact


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("folder")
    parser.add_argument("--files", type=int, default=100_000)
    parser.add_argument("--folders", type=int, default=5_000)
    args = parser.parse_args()

    rng = random.Random(20261211)
    tops = max(1, args.folders // 100)
    leaves = [os.path.join(args.folder, "T%02d" % (i // 100), "S%02d" % (i % 100)) for i in range(args.folders)]
    for leaf in leaves:
        os.makedirs(leaf, exist_ok=True)
    hot = ["common%02d.dll" % i for i in range(40)]
    pool = ["file%05d.%s" % (i, ("dat", "txt", "tmp", "ini")[i % 4]) for i in range(args.files * 2 // 5)]
    written = {}  # name -> [(size, content, time)]
    for i in range(args.files):
        leaf = leaves[(i * 7919) % len(leaves)]
        name = rng.choice(hot) if rng.random() < 0.02 else rng.choice(pool)
        if os.path.exists(os.path.join(leaf, name)):
            name = "x%d_%s" % (i, name)
        earlier = written.get(name)
        if earlier and rng.random() < 0.10:
            size, content, mtime = rng.choice(earlier)
        else:
            sizes = [32 + (hash_of(name, k) % 2017) for k in range(4)]
            size = rng.choice(sizes)
            content = rng.getrandbits(8 * size).to_bytes(size, "little")
            mtime = BASE_TIME + 2 * rng.randrange(10_000_000)
        path = os.path.join(leaf, name)
        with open(path, "wb") as out:
            out.write(content)
        os.utime(path, (mtime, mtime))
        written.setdefault(name, []).append((size, content, mtime))


def hash_of(name, k):
    """A small stable hash: Python's own hash of strings changes from run to run."""
    value = 2166136261 + k
    for ch in name.encode():
        value = ((value ^ ch) * 16777619) & 0xFFFFFFFF
    return value


if __name__ == "__main__":
    main()
