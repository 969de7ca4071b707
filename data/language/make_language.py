#!/usr/bin/env python3
"""Writes the language files <out>/1033.lan (English) and <out>/2052.lan (Simplified Chinese)
from texts.txt beside this script: initialisation files in UTF-16LE with a byte-order mark,
read by the program's private-profile reader."""
import argparse
import os
import sys

LANGUAGES = (1033, 2052)  # column 1 and 2 of the table
MAX_TEXT = 259


def read_table(path):
    sections = []  # [(name, [(id, [texts])])]
    seen = set()
    for n, raw in enumerate(open(path, encoding="utf-8"), 1):
        line = raw.rstrip("\n")
        if not line.strip() or line.startswith("#"):
            continue
        if line.startswith("["):
            sections.append((line.strip()[1:-1], []))
            continue
        fields = [f.strip() for f in line.split("|")]
        if len(fields) != 1 + len(LANGUAGES) or not fields[0].isdigit() or not sections:
            sys.exit(f"{path}:{n}: expected 'id | English | Chinese' inside a section")
        key = (sections[-1][0], int(fields[0]))
        if key in seen:
            sys.exit(f"{path}:{n}: text {key[1]} appears twice in [{key[0]}]")
        seen.add(key)
        for text in fields[1:]:
            if not text or len(text) > MAX_TEXT:
                sys.exit(f"{path}:{n}: every text must hold 1 to {MAX_TEXT} characters")
        sections[-1][1].append((int(fields[0]), fields[1:]))
    return sections


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    sections = read_table(os.path.join(os.path.dirname(os.path.abspath(__file__)), "texts.txt"))
    os.makedirs(args.out, exist_ok=True)
    for column, lcid in enumerate(LANGUAGES):
        lines = []
        for name, texts in sections:
            lines.append(f"[{name}]")
            lines += [f"{text_id}={values[column]}" for text_id, values in texts]
        data = "\ufeff" + "\r\n".join(lines) + "\r\n"
        path = os.path.join(args.out, f"{lcid}.lan")
        encoded = data.encode("utf-16-le")
        if not os.path.exists(path) or open(path, "rb").read() != encoded:
            open(path, "wb").write(encoded)


if __name__ == "__main__":
    main()
