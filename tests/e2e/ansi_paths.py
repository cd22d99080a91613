#!/usr/bin/env python3
"""The entries of a fixture folder that a Windows program's ANSI calls can
open once the folder is mapped as a drive: every name on the way survives
the prefix's ANSI code page unchanged, a file's path fits MAX_PATH (259
bytes and its end) and a folder's path leaves room for its search ("\\*.*").

Usage: ansi_paths.py <root> <windows path of root> <wine prefix> <kind> [name regex]
  files    every reachable file below the root whose name matches, as a
           Windows path ("P:\\a\\b.bmp")
  folders  every reachable folder below the root, as a Windows path
  top      the reachable folders and matching files right in the root, by name
One a line, in no particular order.
"""
import os
import re
import sys

MAX_PATH = 260
SEARCH = "\\*.*"


def ansi_codec(prefix):
    with open(os.path.join(prefix, "system.reg"), encoding="utf-8", errors="replace") as registry:
        for line in registry:
            if line.startswith('"ACP"='):
                return "cp" + line.split('"')[3]
    sys.exit("no ANSI code page in " + prefix)


def fits(path, codec, room=0):
    try:
        return len(path.encode(codec)) + room < MAX_PATH
    except UnicodeEncodeError:
        return False


def main():
    root, windows_root, prefix, kind = sys.argv[1:5]
    names = re.compile(sys.argv[5] if len(sys.argv) > 5 else "", re.IGNORECASE)
    codec = ansi_codec(prefix)
    pending = [(root, windows_root)]
    while pending:
        folder, windows_folder = pending.pop()
        for name in os.listdir(folder):
            local, path = os.path.join(folder, name), windows_folder + "\\" + name
            if os.path.isdir(local) and not os.path.islink(local):
                if not fits(path, codec, len(SEARCH)):
                    continue
                if kind == "top":
                    print(name)
                else:
                    pending.append((local, path))
                    if kind == "folders":
                        print(path)
            elif kind in ("files", "top") and fits(path, codec) and names.search(name):
                print(name if kind == "top" else path)


main()
