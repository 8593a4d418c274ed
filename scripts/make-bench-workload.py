#!/usr/bin/env python3
"""Writes the synthetic workload of the capture benchmark, the same bytes on every run.

  make-bench-workload.py --reg OUT.reg --files FOLDER [--seed N]

OUT.reg is a REGEDIT4 file for HKEY_CURRENT_USER\\Software\\QuorvelBench: 159,879 keys and
493,944 values of every type a capture stores differently, one key with 30,000 subkeys, one
with 10,000 values, depths up to 8 below the bench key. FOLDER receives a tree of 105,041 small
files in 7,225 folders (one with 5,000 files) and a few empty dot folders. Counts go to stdout.
"""

import argparse
import os
import random
import sys

BENCH_KEY = "HKEY_CURRENT_USER\\Software\\QuorvelBench"

WORDS = (
    "settings cache recent window options profile layout filter history plugin toolbar color "
    "font path update policy state default install module device driver service session locale "
    "theme index backup server client network display audio input print shell editor viewer "
    "search sync archive export import folder handler codec format level mode queue record "
    "report schema script source target token trace user value volume widget zone alpha beta "
    "gamma delta main local remote global shared temp data config runtime library component "
    "package version build release debug status monitor agent bridge channel console").split()

SEPARATORS = ["", "", "", " ", "-", "_", "."]
EXTENSIONS = [".txt", ".dll", ".exe", ".ini", ".dat", ".log", ".xml", ".json", ".png", ".cfg",
              ".bin", ".tmp", ".manifest", ".bak", ".1", "", ".tar.gz", ".DLL", ".TXT", ".Cfg"]


def cased(rng, word):
    r = rng.random()
    if r < 0.55:
        return word.capitalize()
    if r < 0.80:
        return word
    if r < 0.90:
        return word.upper()
    return "".join(c.upper() if rng.random() < 0.3 else c for c in word)


def base_name(rng):
    """A name like the ones programs use: words, separators, digits, ids."""
    r = rng.random()
    if r < 0.06:
        return "{%08X-%04X-%04X-%04X-%012X}" % (rng.getrandbits(32), rng.getrandbits(16), rng.getrandbits(16),
                                                 rng.getrandbits(16), rng.getrandbits(48))
    if r < 0.10:
        return "%s%d" % (rng.choice(["", "0x", "S-1-5-", "#", "id"]), rng.randrange(100000))
    parts = [cased(rng, rng.choice(WORDS)) for _ in range(rng.choice((1, 1, 2, 2, 2, 3)))]
    name = parts[0]
    for p in parts[1:]:
        name += rng.choice(SEPARATORS) + p
    r = rng.random()
    if r < 0.25:
        name += str(rng.randrange(1000))
    elif r < 0.32:
        name += " %d.%d" % (rng.randrange(20), rng.randrange(100))
    elif r < 0.36:
        name += "_v%d" % rng.randrange(10)
    return name


def unique(rng, taken, make):
    """A fresh name for one parent: registry and file names are equal ignoring case."""
    while True:
        name = make(rng)
        if name.lower() not in taken:
            taken.add(name.lower())
            return name


# ---------------------------------------------------------------- registry


def reg_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def hex_lines(prefix, data):
    """hex data as regedit writes it: comma list, continued with a backslash every 25 bytes."""
    if not data:
        return prefix
    items = ["%02x" % b for b in data]
    chunks = [",".join(items[i:i + 25]) for i in range(0, len(items), 25)]
    return prefix + ",\\\n  ".join(chunks)


def text_data(rng):
    r = rng.random()
    if r < 0.08:
        return ""
    if r < 0.30:
        return "C:\\Program Files\\%s\\%s%s" % (base_name(rng), base_name(rng), rng.choice(EXTENSIONS))
    if r < 0.38:
        return " ".join(cased(rng, rng.choice(WORDS)) for _ in range(rng.randrange(10, 40)))
    return " ".join(rng.choice(WORDS) for _ in range(rng.randrange(1, 6))) + str(rng.randrange(10000))


def value_line(rng, name):
    """One value of a weighted mix of types; name None is the unnamed default value."""
    lhs = "@" if name is None else reg_string(name)
    r = rng.random()
    if name is None or r < 0.40:
        return "%s=%s" % (lhs, reg_string(text_data(rng)))
    if r < 0.65:
        return "%s=dword:%08x" % (lhs, rng.choice((0, 1, rng.getrandbits(8), rng.getrandbits(32))))
    if r < 0.75:
        size = rng.choice((0, 4, 8, 16, 16, 20, 32, 44, 64, 128, 300, 1024))
        return hex_lines(lhs + "=hex:", bytes(rng.getrandbits(8) for _ in range(size)))
    if r < 0.83:
        text = "%%%s%%\\%s\\%s" % (rng.choice(("SystemRoot", "ProgramFiles", "APPDATA", "TEMP")), base_name(rng),
                                   base_name(rng))
        return hex_lines(lhs + "=hex(2):", text.encode("ascii") + b"\0")
    if r < 0.90:
        items = [base_name(rng) for _ in range(rng.randrange(0, 6))]
        return hex_lines(lhs + "=hex(7):", b"".join(s.encode("ascii") + b"\0" for s in items) + b"\0")
    if r < 0.96:
        return hex_lines(lhs + "=hex(b):", rng.getrandbits(64).to_bytes(8, "little"))
    return hex_lines(lhs + "=hex(0):", bytes(rng.getrandbits(8) for _ in range(rng.choice((0, 0, 4, 12)))))


def write_values(out, rng, count, counts):
    taken = set()
    if count and rng.random() < 0.12:
        out.append(value_line(rng, None))
        count -= 1
        counts["values"] += 1
    for _ in range(count):
        out.append(value_line(rng, unique(rng, taken, base_name)))
        counts["values"] += 1


# Children per key at each depth below the bench key (inclusive range); depth 8 is the last.
REG_BRANCHING = {1: (3, 9), 2: (2, 10), 3: (1, 9), 4: (0, 8), 5: (0, 6), 6: (0, 3), 7: (0, 1)}
VALUES_PER_KEY = (0, 1, 1, 2, 2, 3, 3, 4, 5, 6, 7, 8)


def write_key(fh, rng, path, depth, counts):
    out = ["", "[%s]" % path]
    counts["keys"] += 1
    counts["depth"][depth] = counts["depth"].get(depth, 0) + 1
    write_values(out, rng, rng.choice(VALUES_PER_KEY), counts)
    fh.write("\n".join(out) + "\n")
    low, high = REG_BRANCHING.get(depth, (0, 0))
    children = rng.randint(low, high)
    if depth == 7 and rng.random() < 0.7:
        children = 0
    taken = set()
    for _ in range(children):
        write_key(fh, rng, path + "\\" + unique(rng, taken, base_name), depth + 1, counts)


def wide_name(rng, i):
    form = rng.random()
    if form < 0.3:
        return "{%08X-%04X-%04X-%04X-%012X}" % (rng.getrandbits(32), rng.getrandbits(16), rng.getrandbits(16),
                                                 rng.getrandbits(16), rng.getrandbits(48))
    if form < 0.6:
        return "%s.%s" % (base_name(rng), rng.choice(("1", "2", "Application", "Document", "File")))
    return "%s %05d" % (base_name(rng), i)


def write_registry(path, rng):
    counts = {"keys": 0, "values": 0, "depth": {}}
    with open(path, "w", encoding="ascii", newline="\r\n") as fh:
        fh.write("REGEDIT4\n\n[%s]\n" % BENCH_KEY)
        counts["keys"] += 1
        counts["depth"][0] = 1

        wide = BENCH_KEY + "\\Wide Key 30000"
        fh.write("\n[%s]\n" % wide)
        counts["keys"] += 1
        taken = set()
        for i in range(30000):
            out = ["", "[%s\\%s]" % (wide, unique(rng, taken, lambda r: wide_name(r, i)))]
            counts["keys"] += 1
            write_values(out, rng, rng.choice((0, 1, 1, 2)), counts)
            fh.write("\n".join(out) + "\n")

        out = ["", "[%s\\Many Values 10000]" % BENCH_KEY]
        counts["keys"] += 1
        write_values(out, rng, 10000, counts)
        fh.write("\n".join(out) + "\n")

        taken = {"wide key 30000", "many values 10000"}
        for _ in range(22):
            write_key(fh, rng, BENCH_KEY + "\\" + unique(rng, taken, base_name), 1, counts)
    return counts


# ---------------------------------------------------------------- files


def file_name(rng):
    name = base_name(rng).strip(" .") or "file"
    if rng.random() < 0.01:
        name = "." + name  # dot files show as hidden under Wine
    return name + rng.choice(EXTENSIONS)


# Subfolders per folder at each depth below the top (inclusive range); depth 7 is the last.
FILE_BRANCHING = {0: (10, 10), 1: (3, 8), 2: (2, 6), 3: (1, 5), 4: (0, 4), 5: (0, 3), 6: (0, 2)}
FILES_PER_FOLDER = (1, 2, 3, 4, 6, 8, 10, 12, 16, 20, 30, 50)
FIRST_TIME = 1420070400  # 2015-01-01
LAST_TIME = 1735689600   # 2025-01-01


def write_file(rng, folder, name):
    path = os.path.join(folder, name)
    size = rng.choice((0, 0, 0, 1, 7, 16, 40, 100, 200))
    with open(path, "wb") as fh:
        fh.write(bytes((i * 31 + size) & 0xFF for i in range(size)))
    stamp = rng.randrange(FIRST_TIME, LAST_TIME) & ~1  # even seconds: the packed DOS time keeps 2 s
    os.utime(path, (stamp, stamp))
    return size


def set_folder_time(rng, folder):
    """After the folder is filled: adding entries moves a folder's time."""
    stamp = rng.randrange(FIRST_TIME, LAST_TIME) & ~1
    os.utime(folder, (stamp, stamp))


def write_folder(rng, folder, depth, counts, files=None):
    os.mkdir(folder)
    counts["folders"] += 1
    taken = set()
    low, high = FILE_BRANCHING.get(depth, (0, 0))
    subfolders = [unique(rng, taken, lambda r: base_name(r).strip(" .") or "folder") for _ in range(rng.randint(low, high))]
    if depth > 0 and rng.random() < 0.02:
        subfolders.append(unique(rng, taken, lambda r: "." + base_name(r).strip(" .")))
    for _ in range(rng.choice(FILES_PER_FOLDER) if files is None else files):
        counts["bytes"] += write_file(rng, folder, unique(rng, taken, file_name))
        counts["files"] += 1
    for name in subfolders:
        if name.startswith("."):
            os.mkdir(os.path.join(folder, name))  # a capture leaves dot folders out: keep it empty
            set_folder_time(rng, os.path.join(folder, name))
            counts["dot_folders"] += 1
            continue
        write_folder(rng, os.path.join(folder, name), depth + 1, counts)
    set_folder_time(rng, folder)


def write_files(top, rng):
    counts = {"folders": 0, "files": 0, "bytes": 0, "dot_folders": 0}
    os.mkdir(top)
    counts["folders"] += 1
    write_folder(rng, os.path.join(top, "Many Files 5000"), 1, counts, files=5000)
    taken = {"many files 5000"}
    for _ in range(12):
        write_folder(rng, os.path.join(top, unique(rng, taken, lambda r: base_name(r).strip(" .") or "top")), 1, counts)
    set_folder_time(rng, top)
    return counts


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--reg", required=True, help="the .reg file to write")
    parser.add_argument("--files", required=True, help="the folder to create (must not exist)")
    parser.add_argument("--seed", type=int, default=20240611)
    args = parser.parse_args()
    if os.path.exists(args.files):
        sys.exit("%s exists: the file tree is written into a new folder" % args.files)

    reg = write_registry(args.reg, random.Random(args.seed))
    files = write_files(args.files, random.Random(args.seed + 1))
    depths = " ".join("%d:%d" % (d, n) for d, n in sorted(reg["depth"].items()))
    print("registry: %d keys, %d values (random tree by depth %s)" % (reg["keys"], reg["values"], depths))
    print("files: %d files (%d bytes) in %d folders, %d dot folders" %
          (files["files"], files["bytes"], files["folders"], files["dot_folders"]))


if __name__ == "__main__":
    main()
