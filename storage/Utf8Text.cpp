#include "storage/Utf8Text.h"

#include <windows.h>

std::string ToUtf8(const CString& text) {
  // -1: the terminator is converted too, so the size includes it.
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.GetString(), -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return std::string();
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.GetString(), -1, &bytes[0], size, nullptr, nullptr);
  bytes.resize(bytes.find('\0'));
  return bytes;
}

CString FromUtf8(const char* utf8) {
  if (!utf8 || !*utf8) return CString();
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  if (length <= 1) return CString();
  CString text;
  wchar_t* buffer = text.GetBuffer(length);
  if (MultiByteToWideChar(CP_UTF8, 0, utf8, -1, buffer, length) == 0) {
    text.ReleaseBuffer(0);
    return CString();
  }
  text.ReleaseBuffer(-1);
  return text;
}
