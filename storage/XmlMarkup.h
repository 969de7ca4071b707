// Escaping of attribute values: the five markup characters < & > ' " are written as
// references, and on reading every numeric and named character reference is decoded
// (the character entities of HTML 4.01 and "apos", table XmlEntityTable).
#pragma once

#include <string>

std::wstring EscapeMarkup(const wchar_t* text, size_t length);
inline std::wstring EscapeMarkup(const std::wstring& text) { return EscapeMarkup(text.data(), text.size()); }

// Decodes "&#N;", "&#xH;" and "&name;" references of at most 9 characters after the "&"
// (";" included). Anything else, an unknown name, the value 0, a surrogate code point and
// a value above 0x10FFFF stay as written.
std::wstring UnescapeMarkup(const wchar_t* text, size_t length);

struct XmlEntity {
  const wchar_t* name;
  int codePoint;
};
// Sorted by name in character order.
extern const XmlEntity XmlEntityTable[253];
