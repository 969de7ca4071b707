#!/usr/bin/env python3
"""Types real keys through the X server's test extension, as a person at the keyboard would.

    xkeys.py MARKER X Y [--numlock-off] KEY...

Moves the pointer to (X, Y) of the screen (with no window manager the keyboard focus follows
the pointer), then presses and releases each KEY, an X key name such as KP_7, Home or
KP_Enter; +NAME only presses it and -NAME only releases it. With --numlock-off, Num Lock is
switched off first. Num Lock is left as it was found. A Windows test starts this script and
cannot read its exit status, so the script ends by writing MARKER: "ok", or "error: ..."
saying what failed.
"""
import ctypes
import os
import sys
import time

STEP_PAUSE = 0.03  # seconds between events, so that the receiving program sees them apart


class XKeys:
    def __init__(self):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.xtst = ctypes.CDLL("libXtst.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XStringToKeysym.restype = ctypes.c_ulong
        self.x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
        self.x11.XKeysymToKeycode.restype = ctypes.c_ubyte
        self.x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.x11.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x11.XQueryPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_void_p] * 7
        self.x11.XGetModifierMapping.restype = ctypes.c_void_p
        self.x11.XGetModifierMapping.argtypes = [ctypes.c_void_p]
        self.x11.XFreeModifiermap.argtypes = [ctypes.c_void_p]
        self.xtst.XTestQueryExtension.argtypes = [ctypes.c_void_p] + [ctypes.c_void_p] * 4
        self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                                   ctypes.c_ulong]
        self.display = self.x11.XOpenDisplay(None)
        if not self.display:
            raise RuntimeError("cannot open the X display %r" % os.environ.get("DISPLAY"))
        n = ctypes.c_int()
        if not self.xtst.XTestQueryExtension(self.display, ctypes.byref(n), ctypes.byref(n), ctypes.byref(n),
                                             ctypes.byref(n)):
            raise RuntimeError("the X server has no test extension")

    def close(self):
        self.x11.XCloseDisplay(self.display)

    def keycode(self, name):
        keysym = self.x11.XStringToKeysym(name.encode())
        code = self.x11.XKeysymToKeycode(self.display, keysym) if keysym else 0
        if not code:
            raise RuntimeError("no key for %r" % name)
        return code

    def key(self, code, down):
        self.xtst.XTestFakeKeyEvent(self.display, code, 1 if down else 0, 0)
        self.x11.XSync(self.display, 0)
        time.sleep(STEP_PAUSE)

    def move(self, x, y):
        self.xtst.XTestFakeMotionEvent(self.display, -1, x, y, 0)
        self.x11.XSync(self.display, 0)
        time.sleep(STEP_PAUSE)

    def num_lock_on(self):
        # The modifier that holds Num_Lock in the server's modifier map, then the pointer's
        # modifier state.
        class ModifierKeymap(ctypes.Structure):
            _fields_ = [("max_keypermod", ctypes.c_int), ("modifiermap", ctypes.POINTER(ctypes.c_ubyte))]

        num_lock = self.keycode("Num_Lock")
        mapping = ctypes.cast(self.x11.XGetModifierMapping(self.display), ctypes.POINTER(ModifierKeymap))
        per = mapping.contents.max_keypermod
        mask = 0
        for modifier in range(8):
            for i in range(per):
                if mapping.contents.modifiermap[modifier * per + i] == num_lock:
                    mask = 1 << modifier
        self.x11.XFreeModifiermap(mapping)
        if not mask:
            raise RuntimeError("Num_Lock is no modifier")
        root, child = ctypes.c_ulong(), ctypes.c_ulong()
        rx, ry, wx, wy = ctypes.c_int(), ctypes.c_int(), ctypes.c_int(), ctypes.c_int()
        state = ctypes.c_uint()
        self.x11.XQueryPointer(self.display, self.x11.XDefaultRootWindow(self.display), ctypes.byref(root),
                               ctypes.byref(child), ctypes.byref(rx), ctypes.byref(ry), ctypes.byref(wx),
                               ctypes.byref(wy), ctypes.byref(state))
        return bool(state.value & mask)

    def toggle_num_lock(self):
        code = self.keycode("Num_Lock")
        self.key(code, True)
        self.key(code, False)


def run(args):
    x, y = int(args[0]), int(args[1])
    steps = args[2:]
    keys = XKeys()
    try:
        keys.move(x, y)
        num_lock_was_on = keys.num_lock_on()
        try:
            if "--numlock-off" in steps and num_lock_was_on:
                keys.toggle_num_lock()
            for step in steps:
                if step == "--numlock-off":
                    continue
                if step[0] in "+-":
                    keys.key(keys.keycode(step[1:]), step[0] == "+")
                else:
                    code = keys.keycode(step)
                    keys.key(code, True)
                    keys.key(code, False)
        finally:
            if keys.num_lock_on() != num_lock_was_on:
                keys.toggle_num_lock()
    finally:
        keys.close()


def main():
    if len(sys.argv) < 4:
        sys.stderr.write(__doc__)
        return 2
    marker = sys.argv[1]
    try:
        run(sys.argv[2:])
        result = "ok"
    except Exception as error:  # the marker is the only report the starter reads
        result = "error: %s" % error
    partial = marker + ".part"
    with open(partial, "w") as out:
        out.write(result + "\n")
    os.replace(partial, marker)
    return 0 if result == "ok" else 1


if __name__ == "__main__":
    sys.exit(main())
