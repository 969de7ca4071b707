#!/usr/bin/env python3
"""Builds what depends on the per-model key tables (the *.txt files beside this script).

One table per keyboard model gives its keys row by row; from it this script writes
  --layouts DIR   the layout files DIR/<model name>.xml that the program reads,
  --header FILE   a C++ header with the same keys for the simulated keyboard's factory content,
  --presets FILE  the six per-key colour presets (profile\\default_light.xml) over their keys,
so the picture's key indexes, the keyboard's tables and the presets can never disagree.
"""
import argparse
import glob
import os
import sys

PICTURE_W, PICTURE_H = 1000, 380
PITCH_X, PITCH_Y = 54, 62      # pixels per key unit and per row
GAP = 4                        # pixels between neighbouring keys

# HID usage -> (caption, description). Only the usages the tables use.
NAMES = {
    0x04: ("A", "A"), 0x05: ("B", "B"), 0x06: ("C", "C"), 0x07: ("D", "D"), 0x08: ("E", "E"),
    0x09: ("F", "F"), 0x0A: ("G", "G"), 0x0B: ("H", "H"), 0x0C: ("I", "I"), 0x0D: ("J", "J"),
    0x0E: ("K", "K"), 0x0F: ("L", "L"), 0x10: ("M", "M"), 0x11: ("N", "N"), 0x12: ("O", "O"),
    0x13: ("P", "P"), 0x14: ("Q", "Q"), 0x15: ("R", "R"), 0x16: ("S", "S"), 0x17: ("T", "T"),
    0x18: ("U", "U"), 0x19: ("V", "V"), 0x1A: ("W", "W"), 0x1B: ("X", "X"), 0x1C: ("Y", "Y"),
    0x1D: ("Z", "Z"),
    0x1E: ("1", "!"), 0x1F: ("2", "@"), 0x20: ("3", "#"), 0x21: ("4", "$"), 0x22: ("5", "%"),
    0x23: ("6", "^"), 0x24: ("7", "&"), 0x25: ("8", "*"), 0x26: ("9", "("), 0x27: ("0", ")"),
    0x28: ("Enter", "Enter"), 0x29: ("Esc", "Escape"), 0x2A: ("Backspace", "Backspace"),
    0x2B: ("Tab", "Tab"), 0x2C: ("Space", "Space"), 0x2D: ("-", "_"), 0x2E: ("=", "+"),
    0x2F: ("[", "{"), 0x30: ("]", "}"), 0x31: ("\\", "|"), 0x33: (";", ":"), 0x34: ("'", "\""),
    0x35: ("`", "~"), 0x36: (",", "<"), 0x37: (".", ">"), 0x38: ("/", "?"),
    0x39: ("Caps", "Caps Lock"),
    0x3A: ("F1", "F1"), 0x3B: ("F2", "F2"), 0x3C: ("F3", "F3"), 0x3D: ("F4", "F4"),
    0x3E: ("F5", "F5"), 0x3F: ("F6", "F6"), 0x40: ("F7", "F7"), 0x41: ("F8", "F8"),
    0x42: ("F9", "F9"), 0x43: ("F10", "F10"), 0x44: ("F11", "F11"), 0x45: ("F12", "F12"),
    0x46: ("PrtSc", "Print Screen"), 0x47: ("ScrLk", "Scroll Lock"), 0x48: ("Pause", "Pause"),
    0x49: ("Ins", "Insert"), 0x4A: ("Home", "Home"), 0x4B: ("PgUp", "Page Up"),
    0x4C: ("Del", "Delete"), 0x4D: ("End", "End"), 0x4E: ("PgDn", "Page Down"),
    0x4F: ("Right", "Right Arrow"), 0x50: ("Left", "Left Arrow"), 0x51: ("Down", "Down Arrow"),
    0x52: ("Up", "Up Arrow"), 0x65: ("Menu", "Application"),
    0xE0: ("Ctrl", "Left Ctrl"), 0xE1: ("Shift", "Left Shift"), 0xE2: ("Alt", "Left Alt"),
    0xE3: ("Win", "Left Win"), 0xE4: ("Ctrl", "Right Ctrl"), 0xE5: ("Shift", "Right Shift"),
    0xE6: ("Alt", "Right Alt"), 0xE7: ("Win", "Right Win"), 0xFF: ("Fn", "Fn"),
}


class Model:
    def __init__(self, path):
        self.path = path
        self.light = []
        self.keys = []   # dicts: usage, index, row, col, rect (l, t, w, h)
        rows = []
        for n, line in enumerate(open(path, encoding="utf-8"), 1):
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            word, _, rest = line.partition(" ")
            if word == "model":
                mid, pid, boot, name = rest.split(None, 3)
                self.model_id, self.pid, self.boot_pid, self.name = int(mid), int(pid, 16), int(boot, 16), name
            elif word == "light":
                self.light = [tuple(kv.split("=", 1)) for kv in rest.split()]
            elif word == "row":
                rows.append(rest.split())
            else:
                sys.exit(f"{path}:{n}: unknown line '{word}'")
        width_units = max(sum(self._width(t) for t in row) for row in rows)
        x0 = (PICTURE_W - width_units * PITCH_X) / 2
        y0 = (PICTURE_H - len(rows) * PITCH_Y) / 2
        self.row_count = len(rows)
        self.col_count = 0
        for r, row in enumerate(rows):
            x, col = 0.0, 0
            for token in row:
                w = self._width(token)
                head = token.split("/")[0]
                if head != "_":
                    usage = int(head, 16)
                    if usage not in NAMES:
                        sys.exit(f"{path}: usage {head} has no name")
                    rect = (round(x0 + x * PITCH_X + GAP / 2), round(y0 + r * PITCH_Y + GAP / 2),
                            round(w * PITCH_X) - GAP, PITCH_Y - GAP)
                    self.keys.append(dict(usage=usage, index=len(self.keys), row=r, col=col, rect=rect))
                    col += 1
                x += w
            self.col_count = max(self.col_count, col)
        usages = [k["usage"] for k in self.keys]
        if len(set(usages)) != len(usages):
            sys.exit(f"{path}: a usage appears twice")
        if len(self.keys) > 128:
            sys.exit(f"{path}: more than 128 keys")

    @staticmethod
    def _width(token):
        parts = token.split("/")
        return float(parts[1]) if len(parts) > 1 else 1.0


def xml_attr(text):
    return (text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
            .replace('"', "&quot;"))


def write_layout(model, folder):
    lines = ['<?xml version="1.0" encoding="UTF-8"?>', "<device.info>"]
    lines.append("<light " + " ".join(f'{k}="{v}"' for k, v in model.light) + "/>")
    lines.append(f'<Keyboard bk_color="1E1F24" xpos="0" ypos="0" width="{PICTURE_W}" height="{PICTURE_H}" '
                 f'image="" row_count="{model.row_count}" col_count="{model.col_count}">')
    lines.append("<KeyItems>")
    for k in model.keys:
        name, desc = NAMES[k["usage"]]
        l, t, w, h = k["rect"]
        lines.append(f'<key code="{k["usage"]:02X}" name="{xml_attr(name)}" desc="{xml_attr(desc)}" '
                     f'key_index="{k["index"]}" light_index="{k["index"]}" icon="" rect_left="{l}" '
                     f'rect_top="{t}" rect_width="{w}" rect_height="{h}" row_col="{k["row"]},{k["col"]}"/>')
    lines += ["</KeyItems>", "</Keyboard>", "</device.info>"]
    data = ("\r\n".join(lines) + "\r\n").encode("utf-8")
    path = os.path.join(folder, model.name + ".xml")
    if not os.path.exists(path) or open(path, "rb").read() != data:
        open(path, "wb").write(data)


def write_header(models, path):
    out = ["// Generated by data/keyboards/make_keyboards.py from data/keyboards/*.txt; do not edit.",
           "#pragma once", "", "#include <cstdint>", "", "namespace simkb {", "",
           "struct ModelKey {", "  uint8_t usage;     // HID usage; 0xFF is the Fn key",
           "  uint8_t keyIndex;  // position in the keyboard's tables", "  uint8_t row, col;  // matrix position",
           "  int16_t left, top, width, height;  // rectangle in the layout picture", "};", "",
           "struct ModelTable {", "  int modelId;", "  const char* name;", "  uint16_t pid, bootPid;",
           "  const ModelKey* keys;", "  int keyCount;", "};", ""]
    for m in models:
        out.append(f"inline constexpr ModelKey kKeys{m.model_id}[] = {{")
        for k in m.keys:
            l, t, w, h = k["rect"]
            out.append(f'  {{0x{k["usage"]:02X}, {k["index"]}, {k["row"]}, {k["col"]}, {l}, {t}, {w}, {h}}},')
        out.append("};")
    out.append("")
    out.append("inline constexpr ModelTable kModelTables[] = {")
    for m in models:
        out.append(f'  {{{m.model_id}, "{m.name}", 0x{m.pid:04X}, 0x{m.boot_pid:04X}, kKeys{m.model_id}, '
                   f"{len(m.keys)}}},")
    out += ["};", "", "}  // namespace simkb", ""]
    data = "\n".join(out)
    if not os.path.exists(path) or open(path).read() != data:
        os.makedirs(os.path.dirname(path), exist_ok=True)
        open(path, "w").write(data)


def preset_colour(preset, row, col, rows, cols, usage):
    """Colour (r, g, b) of a key in one of the six presets."""
    x = col / max(cols - 1, 1)
    y = row / max(rows - 1, 1)
    mix = lambda a, b, t: tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))
    if preset == 1:    # aurora: green to violet across the board
        return mix((0x20, 0xF0, 0x90), (0x90, 0x30, 0xFF), x)
    if preset == 2:    # sunset: deep red at the top to gold at the bottom
        return mix((0xE0, 0x20, 0x40), (0xFF, 0xC0, 0x30), y)
    if preset == 3:    # ocean: navy to turquoise
        return mix((0x10, 0x30, 0xC0), (0x20, 0xE0, 0xE0), (x + y) / 2)
    if preset == 4:    # forest: dark to light green by row
        return mix((0x10, 0x70, 0x20), (0xA0, 0xF0, 0x40), y)
    if preset == 5:    # neon: cyan board, magenta movement keys
        return (0xFF, 0x20, 0xC0) if usage in (0x1A, 0x04, 0x16, 0x07, 0x52, 0x50, 0x51, 0x4F) else (0x00, 0xE0, 0xFF)
    # snow: white with ice-blue modifiers
    return (0x90, 0xD0, 0xFF) if usage >= 0xE0 or usage in (0x29, 0x2B, 0x39, 0x28, 0x2A) else (0xFF, 0xFF, 0xFF)


def write_presets(models, path):
    # Every key of every layout once, placed as in the first (largest) board that has it.
    keys = {}
    for m in sorted(models, key=lambda m: -len(m.keys)):
        for k in m.keys:
            keys.setdefault(k["usage"], (k, m))
    lines = ['<?xml version="1.0" encoding="UTF-8"?>', "<preconfig_prpfile>"]
    for preset in range(1, 7):
        lines.append(f"<key_light{preset}>")
        for usage in sorted(keys):
            k, m = keys[usage]
            r, g, b = preset_colour(preset, k["row"], k["col"], m.row_count, m.col_count, usage)
            lines.append(f'<item key_code="{usage}" key_rgb="#{r:02X}{g:02X}{b:02X}"/>')
        lines.append(f"</key_light{preset}>")
    lines.append("</preconfig_prpfile>")
    data = ("\r\n".join(lines) + "\r\n").encode("utf-8")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    if not os.path.exists(path) or open(path, "rb").read() != data:
        open(path, "wb").write(data)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--layouts")
    parser.add_argument("--header")
    parser.add_argument("--presets")
    args = parser.parse_args()
    here = os.path.dirname(os.path.abspath(__file__))
    models = sorted((Model(p) for p in glob.glob(os.path.join(here, "*.txt"))), key=lambda m: m.model_id)
    if args.layouts:
        os.makedirs(args.layouts, exist_ok=True)
        for m in models:
            write_layout(m, args.layouts)
    if args.header:
        write_header(models, args.header)
    if args.presets:
        write_presets(models, args.presets)


if __name__ == "__main__":
    main()
