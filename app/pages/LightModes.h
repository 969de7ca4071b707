// The lighting's fixed data and pure rules: the light modes a profile starts with, their
// feature bits, the colour buttons' colours, the colour text of the preset file, and the rows
// a new profile gets. Colours are 0x00BBGGRR everywhere (red in the low byte).
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/core/CString.h"

// Modes beside 1..22.
constexpr int LIGHT_MODE_USER = 0;
constexpr int LIGHT_MODE_MUSIC = 128;
constexpr int LIGHT_MODE_OFF = 255;

// Feature bits of a mode's config_func: which controls the page shows, what the worker does.
enum LightConfig : uint32_t {
  LIGHT_CONFIG_BRIGHTNESS = 0x001,
  LIGHT_CONFIG_SPEED = 0x002,
  LIGHT_CONFIG_DIR_LEFT_RIGHT = 0x004,
  LIGHT_CONFIG_DIR_TOP_BOTTOM = 0x008,
  LIGHT_CONFIG_COLOR = 0x010,
  LIGHT_CONFIG_COLORFUL = 0x020,
  LIGHT_CONFIG_DIR_IN_OUT = 0x040,
  LIGHT_CONFIG_DIR_ROTATE = 0x080,
  LIGHT_CONFIG_USER_KEYS = 0x100,
  LIGHT_CONFIG_MUSIC = 0x200,
};

// One mode of a new profile: its name (the decimal id of its language text), mode and bits.
struct LightModeEntry {
  const wchar_t* name;
  int mode;
  uint32_t configFunc;
};
constexpr int kLightModeCount = 25;
extern const LightModeEntry LIGHT_MODE_TABLE[kLightModeCount];

// The values every mode of a new profile starts with; mode 1 is then made active.
constexpr int kDefaultBrightness = 100;
constexpr int kDefaultSpeed = 4;
constexpr int kDefaultColor = 0x0000FF;
constexpr int kDefaultActiveMode = 1;

// The fixed colours of the colour buttons 155 to 179, in id order.
extern const COLORREF kLightSwatchColors[25];

// The direction bit that decides which radio pair shows: the first set of left/right,
// top/bottom, within/outside and rotation; 0 without one.
uint32_t LightDirectionBit(uint32_t configFunc);

// "#RRGGBB" -> 0x00BBGGRR. The first character is dropped; of the rest, 6 characters give R, G
// and B from pairs, 5 give B from the single last character, 4 leave B 0, 3 give G from the
// single third character, 2 give R only; any other length is black. Each component is read as
// hexadecimal up to its first character that is no hexadecimal digit.
COLORREF ParseRgbText(const CString& text);

// The decimal red, green and blue of a colour.
int RedOf(COLORREF color);
int GreenOf(COLORREF color);
int BlueOf(COLORREF color);

// A profile's lighting rows: its music row ("Music", foremode 2) when it has none, and the
// whole mode table with mode 1 active when it has no light row. A profile with rows of either
// kind keeps them as they are.
void CreateDefaultLightRows(int profile);
