// Escaping of attribute values: the five markup characters < & > ' " are written as
// references, and on reading every numeric and named character reference is decoded.
#pragma once

#include <string>

std::wstring EscapeMarkup(const wchar_t* text, size_t length);
inline std::wstring EscapeMarkup(const std::wstring& text) { return EscapeMarkup(text.data(), text.size()); }
