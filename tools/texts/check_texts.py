#!/usr/bin/env python3
"""Checks the rules texts shown in the game's panels.

The panels show the files line by line without wrapping, so each line must
already be short, and the program splits on CR LF.

Usage: check_texts.py [TEXTS_DIR]   (default: assets/texts of this checkout)
Exits with status 1 and lists every problem found.
"""
import os
import sys

MAX_CHARS = 38

# file name -> (required first line or None, required line count or None)
FILES = {
    "rules_it.txt": ("Regole del gioco", None),
    "rules_en.txt": ("Game rules", None),
}


def check_file(path, first_line, line_count):
    problems = []
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError as e:
        return [f"cannot read: {e}"]
    if data.startswith(b"\xef\xbb\xbf"):
        problems.append("starts with a byte order mark")
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError as e:
        return problems + [f"not UTF-8: {e}"]
    if not text:
        return problems + ["empty"]
    if not text.endswith("\r\n"):
        problems.append("last line does not end in CR LF")
    # Split after each LF so every piece keeps its own line ending.
    lines = text.splitlines(keepends=True)
    for number, raw in enumerate(lines, 1):
        if not raw.endswith("\r\n"):
            if raw.endswith("\n") or raw.endswith("\r"):
                problems.append(f"line {number}: ends in a bare LF or CR")
            continue
        line = raw[:-2]
        if "\r" in line or "\n" in line:
            problems.append(f"line {number}: stray CR or LF inside the line")
        if len(line) > MAX_CHARS:
            problems.append(
                f"line {number}: {len(line)} characters, more than {MAX_CHARS}")
        if "\t" in line:
            problems.append(f"line {number}: contains a tab")
        if line != line.rstrip(" "):
            problems.append(f"line {number}: trailing spaces")
    content = [raw.rstrip("\r\n") for raw in lines]
    if first_line is not None and (not content or content[0] != first_line):
        found = content[0] if content else ""
        problems.append(f"first line is {found!r}, expected {first_line!r}")
    if first_line is not None and (len(content) < 2 or content[1] != ""):
        problems.append("second line is not empty")
    if line_count is not None and len(content) != line_count:
        problems.append(f"{len(content)} lines, expected {line_count}")
    return problems


def main(argv):
    if len(argv) > 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    if len(argv) == 2:
        directory = argv[1]
    else:
        root = os.path.dirname(os.path.dirname(os.path.dirname(
            os.path.abspath(__file__))))
        directory = os.path.join(root, "assets", "texts")
    failed = False
    for name, (first_line, line_count) in FILES.items():
        problems = check_file(os.path.join(directory, name), first_line,
                              line_count)
        for p in problems:
            print(f"{name}: {p}")
        failed = failed or bool(problems)
    if not failed:
        print(f"texts OK ({', '.join(FILES)})")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
