#include "ui/keyboard/KeyPickerLayout.h"

#include <array>
#include <initializer_list>

namespace TESK {

namespace {

constexpr int S = kShiftedData;

// Row by row: function keys, numbers, top letters, home letters, bottom letters, the space-bar
// row, and the no-function cell with the shifted symbols.
constexpr KeyPickerEntry kEntries[kKeyPickerEntryCount] = {
    {L"Esc", L"Esc", 0x29, 0},      {L"F1", L"F1", 0x3A, 0},         {L"F2", L"F2", 0x3B, 0},
    {L"F3", L"F3", 0x3C, 0},        {L"F4", L"F4", 0x3D, 0},         {L"F5", L"F5", 0x3E, 0},
    {L"F6", L"F6", 0x3F, 0},        {L"F7", L"F7", 0x40, 0},         {L"F8", L"F8", 0x41, 0},
    {L"F9", L"F9", 0x42, 0},        {L"F10", L"F10", 0x43, 0},       {L"F11", L"F11", 0x44, 0},
    {L"F12", L"F12", 0x45, 0},      {L"Print", L"Print", 0x46, 0},   {L"Scroll", L"Scroll", 0x47, 0},
    {L"Pause", L"Pause", 0x48, 0},

    {L"~`", L"~`", 0x35, 0},        {L"!1", L"!1", 0x1E, 0},         {L"@2", L"@2", 0x1F, 0},
    {L"#3", L"#3", 0x20, 0},        {L"$4", L"$4", 0x21, 0},         {L"%5", L"%5", 0x22, 0},
    {L"^6", L"^6", 0x23, 0},        {L"&7", L"&7", 0x24, 0},         {L"*8", L"*8", 0x25, 0},
    {L"(9", L"(9", 0x26, 0},        {L")0", L")0", 0x27, 0},         {L"_-", L"_-", 0x2D, 0},
    {L"+=", L"+=", 0x2E, 0},        {L"K14", L"K14", 0x89, 0},       {L"Backspace", L"Backspace", 0x2A, 0},
    {L"Ins", L"Insert", 0x49, 0},   {L"Home", L"Home", 0x4A, 0},     {L"PgUp", L"PgUp", 0x4B, 0},
    {L"Num", L"Num", 0x53, 0},      {L"/", L"/", 0x54, 0},           {L"*", L"*", 0x55, 0},
    {L"-", L"-", 0x56, 0},

    {L"Tab", L"Tab", 0x2B, 0},      {L"Q", L"Q", 0x14, 0},           {L"W", L"W", 0x1A, 0},
    {L"E", L"E", 0x08, 0},          {L"R", L"R", 0x15, 0},           {L"T", L"T", 0x17, 0},
    {L"Y", L"Y", 0x1C, 0},          {L"U", L"U", 0x18, 0},           {L"I", L"I", 0x0C, 0},
    {L"O", L"O", 0x12, 0},          {L"P", L"P", 0x13, 0},           {L"{[", L"{[", 0x2F, 0},
    {L"]}", L"]}", 0x30, 0},        {L"|\\", L"|\\", 0x31, 0},       {L"Delete", L"Delete", 0x4C, 0},
    {L"End", L"End", 0x4D, 0},      {L"PgDn", L"PgDn", 0x4E, 0},     {L"7", L"7", 0x5F, 0},
    {L"8", L"8", 0x60, 0},          {L"9", L"9", 0x61, 0},           {L"+", L"+", 0x57, 0},

    {L"CapsLock", L"CapsLock", 0x39, 0}, {L"A", L"A", 0x04, 0},      {L"S", L"S", 0x16, 0},
    {L"D", L"D", 0x07, 0},          {L"F", L"F", 0x09, 0},           {L"G", L"G", 0x0A, 0},
    {L"H", L"H", 0x0B, 0},          {L"J", L"J", 0x0D, 0},           {L"K", L"K", 0x0E, 0},
    {L"L", L"L", 0x0F, 0},          {L":;", L":;", 0x33, 0},         {L"\"'", L"\"'", 0x34, 0},
    {L"K42", L"K42", 0x32, 0},      {L"Enter", L"Enter", 0x28, 0},   {L"4", L"4", 0x5C, 0},
    {L"5", L"5", 0x5D, 0},          {L"6", L"6", 0x5E, 0},

    {L"Shift_L", L"Shift_L", 0xE1, 0}, {L"K45", L"K45", 0x64, 0},    {L"Z", L"Z", 0x1D, 0},
    {L"X", L"X", 0x1B, 0},          {L"C", L"C", 0x06, 0},           {L"V", L"V", 0x19, 0},
    {L"B", L"B", 0x05, 0},          {L"N", L"N", 0x11, 0},           {L"M", L"M", 0x10, 0},
    {L",<", L",<", 0x36, 0},        {L".>", L".>", 0x37, 0},         {L"/?", L"/?", 0x38, 0},
    {L"K56", L"K56", 0x87, 0},      {L"Shift_R", L"Shift_R", 0xE5, 0}, {L"\u2191", L"\u2191", 0x52, 0},
    {L"1", L"1", 0x59, 0},          {L"2", L"2", 0x5A, 0},           {L"3", L"3", 0x5B, 0},
    {L"Enter", L"Enter", 0x58, 0},

    {L"Ctrl_L", L"Ctrl_L", 0xE0, 0}, {L"Win_L", L"Win_L", 0xE3, 0},  {L"Alt_L", L"Alt_L", 0xE2, 0},
    {L"K150", L"K150", 0x91, 0},    {L"Space", L"Space", 0x2C, 0},   {L"K151", L"K151", 0x90, 0},
    {L"Alt_R", L"Alt_R", 0xE6, 0},  {L"Win_R", L"Win_R", 0xE7, 0},   {L"App", L"Menu", 0x65, 0},
    {L"Ctrl_R", L"Ctrl_R", 0xE4, 0}, {L"\u2190", L"\u2190", 0x50, 0}, {L"\u2193", L"\u2193", 0x51, 0},
    {L"\u2192", L"\u2192", 0x4F, 0}, {L"0", L"0", 0x62, 0},          {L".", L".", 0x63, 0},

    {L"\u25BD", L"\u25BD", kNoFunctionUsage, 0},
    {L"~", L"~", 0x35, S},          {L"!", L"!", 0x1E, S},           {L"@", L"@", 0x1F, S},
    {L"#", L"#", 0x20, S},          {L"$", L"$", 0x21, S},           {L"%", L"%", 0x22, S},
    {L"^", L"^", 0x23, S},          {L"&", L"&", 0x24, S},           {L"*", L"*", 0x25, S},
    {L"(", L"(", 0x26, S},          {L")", L")", 0x27, S},           {L"_", L"_", 0x2D, S},
    {L"+", L"+", 0x2E, S},          {L"{", L"{", 0x2F, S},           {L"}", L"}", 0x30, S},
    {L"<", L"<", 0x36, S},          {L">", L">", 0x37, S},           {L":", L":", 0x33, S},
    {L"|", L"|", 0x31, S},          {L"?", L"?", 0x38, S},
};

// A cell that leaves its row's grid: the entry's place in its row and its own rectangle.
struct OddCell {
  int column;
  RECT cell;
};

// One row of a geometry: its entries take the row's top, bottom and width from their left
// edges, except the odd cells.
struct Row {
  int top, bottom, width;
  std::initializer_list<int> lefts;
  std::initializer_list<OddCell> odd;
};

// 45-pixel keys on a 48-pixel pitch; the space-bar row 52 on 55; the last row 49 on 52.
const Row kFullRows[] = {
    {0, 45, 45, {0, 96, 144, 192, 240, 318, 366, 414, 462, 540, 588, 636, 684, 742, 790, 838}, {}},
    {55, 100, 45, {0, 48, 96, 144, 192, 240, 288, 336, 384, 432, 480, 528, 576, 624, 672, 742, 790, 838, 896, 944,
                   992, 1040},
     {{14, {672, 55, 729, 100}}}},
    {103, 148, 45, {0, 83, 131, 179, 227, 275, 323, 371, 419, 467, 515, 563, 611, 659, 742, 790, 838, 896, 944, 992,
                    1040},
     {{0, {0, 103, 80, 148}}, {13, {659, 103, 729, 148}}, {20, {1040, 103, 1085, 196}}}},
    {151, 196, 45, {0, 93, 141, 189, 237, 285, 333, 381, 429, 477, 525, 573, 621, 669, 896, 944, 992},
     {{0, {0, 151, 90, 196}}, {13, {669, 151, 729, 196}}}},
    {199, 244, 45, {0, 103, 151, 199, 247, 295, 343, 391, 439, 487, 535, 583, 631, 679, 790, 896, 944, 992, 1040},
     {{0, {0, 199, 100, 244}}, {13, {679, 199, 729, 244}}, {18, {1040, 199, 1085, 292}}}},
    {247, 292, 52, {0, 55, 110, 165, 220, 456, 511, 566, 621, 676, 743, 791, 839, 897, 945},
     {{4, {220, 247, 453, 292}},
      {10, {743, 247, 788, 292}},
      {11, {791, 247, 836, 292}},
      {12, {839, 247, 884, 292}},
      {13, {897, 247, 942, 292}},
      {14, {945, 247, 1038, 292}}}},
    {302, 351, 49, {0, 52, 104, 156, 208, 260, 312, 364, 416, 468, 520, 572, 624, 676, 728, 780, 832, 884, 936, 988,
                    1040},
     {}},
};

// 30-pixel keys on a 33-pixel pitch; the space-bar row 35 on 38; the last row 32 on 35.
const Row kCompactRows[] = {
    {0, 30, 30, {0, 66, 99, 132, 165, 218, 251, 284, 317, 370, 403, 436, 469, 507, 540, 573}, {}},
    {35, 65, 30, {0, 33, 66, 99, 132, 165, 198, 231, 264, 297, 330, 363, 396, 429, 462, 507, 540, 573, 611, 644, 677,
                  710},
     {{14, {462, 35, 499, 65}}}},
    {68, 98, 30, {0, 53, 86, 119, 152, 185, 218, 251, 284, 317, 350, 383, 416, 449, 507, 540, 573, 611, 644, 677, 710},
     {{0, {0, 68, 50, 98}},
      {11, {383, 68, 412, 98}},
      {12, {416, 68, 445, 98}},
      {13, {449, 68, 499, 98}},
      {20, {710, 68, 740, 131}}}},
    {101, 131, 30, {0, 58, 91, 124, 157, 190, 223, 256, 289, 322, 355, 388, 421, 454, 611, 644, 677},
     {{0, {0, 101, 55, 131}}, {13, {454, 101, 499, 131}}}},
    {134, 164, 30, {0, 43, 76, 109, 142, 175, 208, 241, 274, 307, 340, 373, 406, 439, 540, 611, 644, 677, 710},
     {{0, {0, 134, 40, 164}}, {13, {439, 134, 499, 164}}, {18, {710, 134, 740, 197}}}},
    {167, 197, 35, {0, 38, 76, 114, 152, 312, 350, 388, 426, 464, 507, 540, 573, 611, 644},
     {{4, {152, 167, 309, 197}},
      {10, {507, 167, 537, 197}},
      {11, {540, 167, 570, 197}},
      {12, {573, 167, 603, 197}},
      {13, {611, 167, 641, 197}},
      {14, {644, 167, 707, 197}}}},
    {202, 232, 32, {0, 39, 74, 109, 144, 179, 214, 249, 284, 319, 354, 389, 424, 459, 494, 529, 564, 599, 634, 669,
                    704},
     {{0, {0, 202, 36, 232}}, {20, {704, 202, 740, 232}}}},
};

// Space below the last row that belongs to the content.
constexpr int kContentMargin = 10;

// The cells of rows, in entry order. The rows must hold kKeyPickerEntryCount cells.
template <size_t N>
KeyPickerGeometry Build(const Row (&rows)[N], std::array<RECT, kKeyPickerEntryCount>& cells, bool compact) {
  size_t at = 0;
  for (const Row& row : rows) {
    int column = 0;
    for (int left : row.lefts) {
      RECT cell = {left, row.top, left + row.width, row.bottom};
      for (const OddCell& odd : row.odd) {
        if (odd.column == column) cell = odd.cell;
      }
      if (at < cells.size()) cells[at] = cell;
      ++at;
      ++column;
    }
  }
  return KeyPickerGeometry{cells.data(), cells[cells.size() - 1].bottom + kContentMargin, compact};
}

}  // namespace

const KeyPickerEntry* KeyPickerEntries() { return kEntries; }

const KeyPickerGeometry& KeyPickerFullGeometry() {
  static std::array<RECT, kKeyPickerEntryCount> cells;
  static const KeyPickerGeometry geometry = Build(kFullRows, cells, false);
  return geometry;
}

const KeyPickerGeometry& KeyPickerCompactGeometry() {
  static std::array<RECT, kKeyPickerEntryCount> cells;
  static const KeyPickerGeometry geometry = Build(kCompactRows, cells, true);
  return geometry;
}

}  // namespace TESK
