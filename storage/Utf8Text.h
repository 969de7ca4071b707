// Conversions between the program's wide strings and the UTF-8 bytes the settings
// database stores. Plain functions, safe on any thread.
#pragma once

#include <string>

#include "ui/core/CString.h"

// The UTF-8 bytes of text, up to its first zero character; empty for an empty text.
std::string ToUtf8(const CString& text);
// The wide form of zero-terminated UTF-8 bytes; null or bytes that do not convert give
// an empty string.
CString FromUtf8(const char* utf8);
