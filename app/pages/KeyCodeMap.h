// Conversions between the key codes the program meets: Windows virtual-key codes as the
// system reports keys, USB HID usage IDs as the keyboard and the settings store name them
// (keyboard page; media keys by their consumer-page usage in the same integer, so 0xE2 is
// both Left Alt and Mute), the keyboard's modifier bits, and the captions drawn on keys.
//
// KeyCodeMap holds no data: its tables are compile-time constants, so every operation is a
// pure function that any thread may call at any time. The single instance needs no clean-up.
#pragma once

#include "ui/core/CString.h"

class KeyCodeMap {
public:
  static KeyCodeMap& Instance();

  // The usage of the virtual-key code at *code (the first 32-bit field of the caller's
  // record); 0 when the code has none or code is null.
  int VirtualKeyToUsage(const int* code) const;

  // The keyboard's modifier bit of a modifier usage (224 Left Ctrl -> 0x01 ... 231 Right
  // GUI -> 0x80); any other value, a bit mask among them, comes back unchanged.
  int ModifierUsageToBit(int usage) const;

  // Writes the caption of a usage into out (empty when the usage has none) and returns out.
  CString& UsageToKeyName(CString& out, int usage) const;

  KeyCodeMap(const KeyCodeMap&) = delete;
  KeyCodeMap& operator=(const KeyCodeMap&) = delete;

private:
  KeyCodeMap() = default;
};

// The first and last modifier usages (Left Ctrl, Right GUI) on the keyboard page.
constexpr int kFirstModifierUsage = 0xE0;
constexpr int kLastModifierUsage = 0xE7;
