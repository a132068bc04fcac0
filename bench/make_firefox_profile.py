#!/usr/bin/env python3
"""Makes a Firefox profile's site data for the benchmarks: N origin folders
https+++site<i>.example in storage/default, each laid out as Firefox 153 lays
one out (.metadata-v2, ls/, idb/, cache/ with its morgue), copied from the
origin in tests/data/browsers/firefox with each file cut to 4 KiB, and the
quota manager's storage.sqlite beside them.
  bench/make_firefox_profile.py PROFILE_FOLDER ORIGINS"""
import os
import shutil
import sys

root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "data", "browsers", "firefox")
shape = os.path.join(root, "storage", "default", "http+++shop.example+18731")
cut = 4096


def layout():
    """Each file of the origin's shape, relative to it, with its first bytes; and its empty folders."""
    files, folders = [], []
    for at, subfolders, names in os.walk(shape):
        relative = os.path.relpath(at, shape)
        if not names and not subfolders and relative != ".":
            folders.append(relative)
        for name in names:
            with open(os.path.join(at, name), "rb") as f:
                files.append((os.path.normpath(os.path.join(relative, name)), f.read(cut)))
    return files, folders


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    profile, origins = sys.argv[1], int(sys.argv[2])
    files, folders = layout()
    default = os.path.join(profile, "storage", "default")
    for i in range(origins):
        origin = os.path.join(default, f"https+++site{i}.example")
        for folder in folders:
            os.makedirs(os.path.join(origin, folder), exist_ok=True)
        for name, content in files:
            path = os.path.join(origin, name)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "wb") as f:
                f.write(content)
    shutil.copy(os.path.join(root, "storage.sqlite"), profile)


main()
