#!/usr/bin/env python3
"""Packs the real-world shortcut corpus into one file that a test under Wine can read
(the prefix cannot reach the host's folders). For each .lnk file, in order of its path:
the path below the corpus (UTF-8, backslashes) and the file's bytes, each preceded by its
length as a 32-bit little-endian number.

  pack_corpus.py CORPUS_DIR OUTPUT_FILE
"""
import os
import struct
import sys


def main():
    corpus, output = sys.argv[1:3]
    paths = []
    for base, _, names in os.walk(corpus):
        paths += [os.path.join(base, n) for n in names if n.lower().endswith(".lnk")]
    with open(output + ".tmp", "wb") as out:
        for path in sorted(paths):
            name = os.path.relpath(path, corpus).replace(os.sep, "\\").encode("utf-8")
            with open(path, "rb") as f:
                data = f.read()
            out.write(struct.pack("<I", len(name)) + name + struct.pack("<I", len(data)) + data)
    os.replace(output + ".tmp", output)


if __name__ == "__main__":
    main()
