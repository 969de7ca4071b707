// CString: a reference-counted UTF-16 string, the string type of the library's and the
// program's interfaces. A copy shares the buffer until one side modifies it (copy on
// write). All of its memory is allocated and freed inside tesk.dll, so a string made
// in one module and destroyed in another is always released by the module that made
// its buffer. Counts are atomic: copies may be passed between threads, but a single
// object must not be modified by two threads at once.
#pragma once

#include <windows.h>

#include <cstdarg>

#include "ui/core/TeskApi.h"

class TESK_API CString {
public:
  CString();
  CString(const CString& other);
  CString(CString&& other) noexcept;
  CString(const wchar_t* text);             // null gives an empty string
  CString(const wchar_t* text, int length);
  CString(const char* text);                // ANSI code page text; null gives an empty string
  CString(wchar_t ch, int repeat = 1);
  ~CString();

  CString& operator=(const CString& other);
  CString& operator=(CString&& other) noexcept;
  CString& operator=(const wchar_t* text);
  CString& operator=(const char* text);
  CString& operator=(wchar_t ch);

  CString& operator+=(const CString& text);
  CString& operator+=(const wchar_t* text);
  CString& operator+=(wchar_t ch);

  int GetLength() const;
  bool IsEmpty() const;
  void Empty();
  const wchar_t* GetString() const { return m_pszData; }
  operator const wchar_t*() const { return m_pszData; }
  wchar_t GetAt(int index) const;
  wchar_t operator[](int index) const { return GetAt(index); }
  void SetAt(int index, wchar_t ch);

  // Direct access: GetBuffer gives a writable buffer of at least minLength characters
  // (plus terminator); ReleaseBuffer ends the access, taking the length from the text's
  // terminator when newLength is -1.
  wchar_t* GetBuffer();
  wchar_t* GetBuffer(int minLength);
  wchar_t* GetBufferSetLength(int length);
  void ReleaseBuffer(int newLength = -1);
  void Preallocate(int length);

  // printf-style formatting with the platform's wide conventions: %s is a wide string,
  // %S and %hs narrow ones.
  void Format(const wchar_t* format, ...);
  void AppendFormat(const wchar_t* format, ...);
  void FormatV(const wchar_t* format, va_list args);
  void AppendFormatV(const wchar_t* format, va_list args);

  void Append(const wchar_t* text, int length);
  void Append(const CString& text);
  void AppendChar(wchar_t ch);

  int Compare(const wchar_t* text) const;
  int CompareNoCase(const wchar_t* text) const;

  CString Left(int count) const;
  CString Right(int count) const;
  CString Mid(int first) const;
  CString Mid(int first, int count) const;
  CString SpanIncluding(const wchar_t* chars) const;
  CString SpanExcluding(const wchar_t* chars) const;
  CString Tokenize(const wchar_t* delimiters, int& start) const;

  int Find(wchar_t ch, int start = 0) const;
  int Find(const wchar_t* text, int start = 0) const;
  int ReverseFind(wchar_t ch) const;
  int FindOneOf(const wchar_t* chars) const;

  int Replace(wchar_t oldChar, wchar_t newChar);
  int Replace(const wchar_t* oldText, const wchar_t* newText);
  int Remove(wchar_t ch);
  int Insert(int index, wchar_t ch);
  int Insert(int index, const wchar_t* text);
  int Delete(int index, int count = 1);

  CString& Trim();
  CString& Trim(wchar_t ch);
  CString& Trim(const wchar_t* chars);
  CString& TrimLeft();
  CString& TrimLeft(wchar_t ch);
  CString& TrimLeft(const wchar_t* chars);
  CString& TrimRight();
  CString& TrimRight(wchar_t ch);
  CString& TrimRight(const wchar_t* chars);

  CString& MakeLower();
  CString& MakeUpper();
  CString& MakeReverse();

private:
  struct Header;
  Header* GetHeader() const;
  void Assign(const wchar_t* text, int length);
  void Release();
  // Makes the buffer exclusive to this object with room for capacity characters,
  // keeping the first keep characters.
  wchar_t* PrepareWrite(int capacity, int keep);
  void SetLength(int length);

  wchar_t* m_pszData;
};

TESK_API CString operator+(const CString& a, const CString& b);
TESK_API CString operator+(const CString& a, const wchar_t* b);
TESK_API CString operator+(const wchar_t* a, const CString& b);
TESK_API CString operator+(const CString& a, wchar_t b);
TESK_API CString operator+(wchar_t a, const CString& b);

inline bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
inline bool operator==(const CString& a, const wchar_t* b) { return a.Compare(b) == 0; }
inline bool operator==(const wchar_t* a, const CString& b) { return b.Compare(a) == 0; }
inline bool operator!=(const CString& a, const CString& b) { return a.Compare(b) != 0; }
inline bool operator!=(const CString& a, const wchar_t* b) { return a.Compare(b) != 0; }
inline bool operator!=(const wchar_t* a, const CString& b) { return b.Compare(a) != 0; }
inline bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
inline bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
inline bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
inline bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }

using CStringW = CString;
