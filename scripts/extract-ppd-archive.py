#!/usr/bin/env python3
"""Extracts every PPD of a pyppd archive (a compressed PPD collection that
Debian's printer packages install under /usr/lib/cups/driver) into a folder,
decompressing the archive once. Prints the number of files written.

    extract-ppd-archive.py ARCHIVE OUTDIR
"""
import base64
import importlib.machinery
import importlib.util
import lzma
import os
import sys


def load_archive(path):
    loader = importlib.machinery.SourceFileLoader("ppd_archive", path)
    spec = importlib.util.spec_from_loader("ppd_archive", loader)
    module = importlib.util.module_from_spec(spec)
    loader.exec_module(module)
    return module


def main():
    archive_path, out_dir = sys.argv[1], sys.argv[2]
    archive = load_archive(archive_path)
    index = archive.load()
    blob = lzma.LZMADecompressor().decompress(base64.b64decode(index.pop("ARCHIVE").encode("ascii")))
    written = 0
    for name, entry in index.items():
        start, length = entry[0], entry[1]
        target = os.path.join(out_dir, os.path.basename(archive_path), name.lstrip("0/").replace("/", "_"))
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "wb") as f:
            f.write(blob[start:start + length])
        written += 1
    print(written)


if __name__ == "__main__":
    main()
