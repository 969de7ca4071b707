#include "app/pages/LightModes.h"

#include "storage/ConfigDatabase.h"

const LightModeEntry LIGHT_MODE_TABLE[kLightModeCount] = {
    {L"661", LIGHT_MODE_MUSIC, 0x200}, {L"662", LIGHT_MODE_USER, 0x111}, {L"663", 1, 0x003}, {L"664", 2, 0x031},
    {L"665", 3, 0x031},  {L"666", 4, 0x033},  {L"667", 5, 0x003},  {L"668", 6, 0x037},  {L"669", 7, 0x03B},
    {L"670", 8, 0x073},  {L"671", 9, 0x033},  {L"672", 10, 0x0B3}, {L"673", 11, 0x033}, {L"674", 12, 0x033},
    {L"675", 13, 0x033}, {L"676", 14, 0x033}, {L"677", 15, 0x033}, {L"678", 16, 0x033}, {L"679", 17, 0x033},
    {L"680", 18, 0x033}, {L"681", 19, 0x033}, {L"682", 20, 0x033}, {L"683", 21, 0x033}, {L"684", 22, 0x033},
    {L"0", LIGHT_MODE_OFF, 0x000},
};

const COLORREF kLightSwatchColors[25] = {
    0x0CC0FF, 0x0C80FF, 0x0505FF, 0x7508FF, 0xD705FF, 0x12FBFF, 0x55A3FF, 0x716EFF, 0xFF55FB,
    0xFE05FF, 0x00FF89, 0x8CFFB8, 0xFFFFFF, 0xFF5FB2, 0xFF077A, 0x0AFF2A, 0x5CFF4E, 0xFEFA73,
    0xFF5F4D, 0xFF0619, 0x17FF04, 0x7DFD07, 0xFDFF05, 0xFF9109, 0xFF3704,
};

uint32_t LightDirectionBit(uint32_t configFunc) {
  for (uint32_t bit : {LIGHT_CONFIG_DIR_LEFT_RIGHT, LIGHT_CONFIG_DIR_TOP_BOTTOM, LIGHT_CONFIG_DIR_IN_OUT,
                       LIGHT_CONFIG_DIR_ROTATE}) {
    if (configFunc & bit) return bit;
  }
  return 0;
}

namespace {

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

// The hexadecimal value of up to count characters from first, ending at the first non-digit.
int HexValue(const wchar_t* first, int count) {
  int value = 0;
  for (int i = 0; i < count; ++i) {
    const int digit = HexDigit(first[i]);
    if (digit < 0) break;
    value = value * 16 + digit;
  }
  return value;
}

}  // namespace

COLORREF ParseRgbText(const CString& text) {
  if (text.GetLength() < 1) return 0;
  const wchar_t* rest = text.GetString() + 1;
  const int n = text.GetLength() - 1;
  if (n < 2 || n > 6) return 0;
  const int r = HexValue(rest, 2);
  const int g = n >= 4 ? HexValue(rest + 2, 2) : n == 3 ? HexValue(rest + 2, 1) : 0;
  const int b = n == 6 ? HexValue(rest + 4, 2) : n == 5 ? HexValue(rest + 4, 1) : 0;
  return static_cast<COLORREF>(r | g << 8 | b << 16);
}

int RedOf(COLORREF color) { return static_cast<int>(color & 0xFF); }
int GreenOf(COLORREF color) { return static_cast<int>((color >> 8) & 0xFF); }
int BlueOf(COLORREF color) { return static_cast<int>((color >> 16) & 0xFF); }

void CreateDefaultLightRows(int profile) {
  ConfigDatabase& db = ConfigDatabase::Instance();
  if (db.CountMusicLayers(profile) == 0) db.InsertMusicLayer(profile, L"Music", 2);
  if (db.CountLights(profile) != 0) return;
  for (const LightModeEntry& entry : LIGHT_MODE_TABLE) {
    LIGHT_DATA row;
    row.profile = profile;
    row.name = entry.name;
    row.mode = entry.mode;
    row.brightness = kDefaultBrightness;
    row.speed = kDefaultSpeed;
    row.direction = 0;
    row.colorful = 1;
    row.colorindex = 0;
    row.color_value = kDefaultColor;
    row.config_func = static_cast<int>(entry.configFunc);
    row.reserved = 0;
    row.status = 0;
    db.InsertLight(row);
  }
  db.SetActiveLightMode(profile, kDefaultActiveMode);
}
