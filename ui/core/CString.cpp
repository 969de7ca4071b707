#include "ui/core/CString.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>

// Buffer layout: a header followed by the characters and a terminator. refs counts the
// CString objects sharing the buffer; -1 marks a buffer handed out by GetBuffer, which
// copies never share. The empty string is one static buffer that is never freed.
struct CString::Header {
  volatile LONG refs;
  int length;
  int capacity;
  wchar_t* Data() { return reinterpret_cast<wchar_t*>(this + 1); }
};

namespace {

struct EmptyBuffer {
  LONG refs;
  int length;
  int capacity;
  wchar_t data[1];
};
EmptyBuffer g_empty = {1, 0, 0, {0}};

wchar_t* EmptyData() { return g_empty.data; }

int TextLength(const wchar_t* text) { return text ? static_cast<int>(wcslen(text)) : 0; }

bool IsIn(wchar_t ch, const wchar_t* chars) { return chars && ch && wcschr(chars, ch) != nullptr; }

}  // namespace

CString::Header* CString::GetHeader() const { return reinterpret_cast<Header*>(m_pszData) - 1; }

CString::CString() : m_pszData(EmptyData()) {}

CString::CString(const CString& other) : m_pszData(EmptyData()) { *this = other; }

CString::CString(CString&& other) noexcept : m_pszData(other.m_pszData) { other.m_pszData = EmptyData(); }

CString::CString(const wchar_t* text) : m_pszData(EmptyData()) { Assign(text, TextLength(text)); }

CString::CString(const wchar_t* text, int length) : m_pszData(EmptyData()) {
  Assign(text, text && length > 0 ? length : 0);
}

CString::CString(const char* text) : m_pszData(EmptyData()) { *this = text; }

CString::CString(wchar_t ch, int repeat) : m_pszData(EmptyData()) {
  if (repeat <= 0) return;
  wchar_t* data = PrepareWrite(repeat, 0);
  for (int i = 0; i < repeat; ++i) data[i] = ch;
  SetLength(repeat);
}

CString::~CString() { Release(); }

void CString::Release() {
  if (m_pszData != EmptyData()) {
    Header* header = GetHeader();
    if (header->refs < 0 || InterlockedDecrement(&header->refs) == 0) std::free(header);
  }
  m_pszData = EmptyData();
}

CString& CString::operator=(const CString& other) {
  if (this == &other || m_pszData == other.m_pszData) return *this;
  if (other.m_pszData == EmptyData()) {
    Release();
  } else if (other.GetHeader()->refs < 0) {
    Assign(other.m_pszData, other.GetLength());  // locked buffers are never shared
  } else {
    InterlockedIncrement(&other.GetHeader()->refs);
    Release();
    m_pszData = other.m_pszData;
  }
  return *this;
}

CString& CString::operator=(CString&& other) noexcept {
  if (this != &other) {
    Release();
    m_pszData = other.m_pszData;
    other.m_pszData = EmptyData();
  }
  return *this;
}

CString& CString::operator=(const wchar_t* text) {
  Assign(text, TextLength(text));
  return *this;
}

CString& CString::operator=(const char* text) {
  if (!text || !*text) {
    Release();
    return *this;
  }
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (length <= 1) {
    Release();
    return *this;
  }
  wchar_t* data = PrepareWrite(length - 1, 0);
  MultiByteToWideChar(CP_ACP, 0, text, -1, data, length);
  SetLength(length - 1);
  return *this;
}

CString& CString::operator=(wchar_t ch) {
  Assign(&ch, 1);
  return *this;
}

void CString::Assign(const wchar_t* text, int length) {
  if (length <= 0) {
    Release();
    return;
  }
  // The text may point into this string's own buffer: copy before releasing it.
  Header* header = static_cast<Header*>(std::malloc(sizeof(Header) + (length + 1) * sizeof(wchar_t)));
  if (!header) return;
  header->refs = 1;
  header->length = length;
  header->capacity = length;
  std::memcpy(header->Data(), text, length * sizeof(wchar_t));
  header->Data()[length] = 0;
  Release();
  m_pszData = header->Data();
}

wchar_t* CString::PrepareWrite(int capacity, int keep) {
  const int length = GetLength();
  if (keep > length) keep = length;
  if (m_pszData != EmptyData()) {
    Header* header = GetHeader();
    const bool exclusive = header->refs == 1 || header->refs < 0;
    if (exclusive && header->capacity >= capacity) return m_pszData;
    if (exclusive) {
      // Grow geometrically so repeated appends stay linear.
      int grown = header->capacity + header->capacity / 2;
      if (grown < capacity) grown = capacity;
      Header* bigger = static_cast<Header*>(std::realloc(header, sizeof(Header) + (grown + 1) * sizeof(wchar_t)));
      if (!bigger) return nullptr;
      bigger->capacity = grown;
      m_pszData = bigger->Data();
      return m_pszData;
    }
  }
  if (capacity < keep) capacity = keep;
  Header* fresh = static_cast<Header*>(std::malloc(sizeof(Header) + (capacity + 1) * sizeof(wchar_t)));
  if (!fresh) return nullptr;
  fresh->refs = 1;
  fresh->capacity = capacity;
  fresh->length = keep;
  if (keep > 0) std::memcpy(fresh->Data(), m_pszData, keep * sizeof(wchar_t));
  fresh->Data()[keep] = 0;
  Release();
  m_pszData = fresh->Data();
  return m_pszData;
}

void CString::SetLength(int length) {
  if (m_pszData == EmptyData()) return;
  Header* header = GetHeader();
  if (length < 0) length = 0;
  if (length > header->capacity) length = header->capacity;
  header->length = length;
  m_pszData[length] = 0;
  if (length == 0 && header->refs == 1) Release();
}

CString& CString::operator+=(const CString& text) {
  Append(text);
  return *this;
}

CString& CString::operator+=(const wchar_t* text) {
  Append(text, TextLength(text));
  return *this;
}

CString& CString::operator+=(wchar_t ch) {
  AppendChar(ch);
  return *this;
}

void CString::Append(const CString& text) {
  if (IsEmpty()) {
    *this = text;
    return;
  }
  const CString keep(text);  // text may be this very object
  Append(keep.m_pszData, keep.GetLength());
}

void CString::Append(const wchar_t* text, int length) {
  if (!text || length <= 0) return;
  const int old = GetLength();
  // The text may lie inside this string's buffer, which may move: copy it when it does.
  if (text >= m_pszData && text <= m_pszData + old) {
    const CString copy(text, length);
    Append(copy.m_pszData, length);
    return;
  }
  wchar_t* data = PrepareWrite(old + length, old);
  if (!data) return;
  std::memcpy(data + old, text, length * sizeof(wchar_t));
  SetLength(old + length);
}

void CString::AppendChar(wchar_t ch) { Append(&ch, 1); }

int CString::GetLength() const { return m_pszData == EmptyData() ? 0 : GetHeader()->length; }

bool CString::IsEmpty() const { return GetLength() == 0; }

void CString::Empty() { Release(); }

wchar_t CString::GetAt(int index) const { return index >= 0 && index < GetLength() ? m_pszData[index] : 0; }

void CString::SetAt(int index, wchar_t ch) {
  const int length = GetLength();
  if (index < 0 || index >= length) return;
  PrepareWrite(length, length)[index] = ch;
}

wchar_t* CString::GetBuffer() { return GetBuffer(GetLength()); }

wchar_t* CString::GetBuffer(int minLength) {
  const int length = GetLength();
  if (minLength < length) minLength = length;
  if (minLength <= 0) minLength = 1;  // always a real, writable buffer
  wchar_t* data = PrepareWrite(minLength, length);
  if (data) GetHeader()->refs = -1;
  return data;
}

wchar_t* CString::GetBufferSetLength(int length) {
  if (length < 0) length = 0;
  wchar_t* data = GetBuffer(length);
  if (data) {
    GetHeader()->length = length;
    data[length] = 0;
  }
  return data;
}

void CString::ReleaseBuffer(int newLength) {
  if (m_pszData == EmptyData()) return;
  Header* header = GetHeader();
  if (newLength < 0) newLength = static_cast<int>(wcsnlen(m_pszData, header->capacity));
  header->refs = 1;
  SetLength(newLength);
}

void CString::Preallocate(int length) {
  if (length > GetLength()) PrepareWrite(length, GetLength());
}

void CString::Format(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  FormatV(format, args);
  va_end(args);
}

void CString::AppendFormat(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  AppendFormatV(format, args);
  va_end(args);
}

void CString::FormatV(const wchar_t* format, va_list args) {
  CString result;
  result.AppendFormatV(format, args);
  *this = static_cast<CString&&>(result);
}

void CString::AppendFormatV(const wchar_t* format, va_list args) {
  if (!format) return;
  va_list count;
  va_copy(count, args);
  // msvcrt's functions: %s is a wide string, %S a narrow one.
  const int added = _vscwprintf(format, count);
  va_end(count);
  if (added <= 0) return;
  const int old = GetLength();
  wchar_t* data = PrepareWrite(old + added, old);
  if (!data) return;
  _vsnwprintf(data + old, added + 1, format, args);
  SetLength(old + added);
}

int CString::Compare(const wchar_t* text) const { return wcscmp(m_pszData, text ? text : L""); }

int CString::CompareNoCase(const wchar_t* text) const { return _wcsicmp(m_pszData, text ? text : L""); }

CString CString::Left(int count) const {
  if (count <= 0) return CString();
  if (count >= GetLength()) return *this;
  return CString(m_pszData, count);
}

CString CString::Right(int count) const {
  const int length = GetLength();
  if (count <= 0) return CString();
  if (count >= length) return *this;
  return CString(m_pszData + length - count, count);
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const {
  const int length = GetLength();
  if (first < 0) first = 0;
  if (count < 0) count = 0;
  if (first >= length) return CString();
  if (count > length - first) count = length - first;
  if (first == 0 && count == length) return *this;
  return CString(m_pszData + first, count);
}

CString CString::SpanIncluding(const wchar_t* chars) const {
  int n = 0;
  while (n < GetLength() && IsIn(m_pszData[n], chars)) ++n;
  return Left(n);
}

CString CString::SpanExcluding(const wchar_t* chars) const {
  int n = 0;
  while (n < GetLength() && !IsIn(m_pszData[n], chars)) ++n;
  return Left(n);
}

CString CString::Tokenize(const wchar_t* delimiters, int& start) const {
  const int length = GetLength();
  if (start < 0) start = 0;
  while (start < length && IsIn(m_pszData[start], delimiters)) ++start;
  if (start >= length) {
    start = -1;
    return CString();
  }
  int end = start;
  while (end < length && !IsIn(m_pszData[end], delimiters)) ++end;
  CString token(m_pszData + start, end - start);
  start = end + 1;
  return token;
}

int CString::Find(wchar_t ch, int start) const {
  const int length = GetLength();
  if (start < 0) start = 0;
  for (int i = start; i < length; ++i)
    if (m_pszData[i] == ch) return i;
  return -1;
}

int CString::Find(const wchar_t* text, int start) const {
  const int length = GetLength();
  if (!text || start < 0 || start > length) return -1;
  const wchar_t* hit = wcsstr(m_pszData + start, text);
  return hit ? static_cast<int>(hit - m_pszData) : -1;
}

int CString::ReverseFind(wchar_t ch) const {
  for (int i = GetLength() - 1; i >= 0; --i)
    if (m_pszData[i] == ch) return i;
  return -1;
}

int CString::FindOneOf(const wchar_t* chars) const {
  for (int i = 0; i < GetLength(); ++i)
    if (IsIn(m_pszData[i], chars)) return i;
  return -1;
}

int CString::Replace(wchar_t oldChar, wchar_t newChar) {
  const int first = Find(oldChar);
  if (first < 0 || oldChar == newChar) return 0;
  const int length = GetLength();
  wchar_t* data = PrepareWrite(length, length);
  int count = 0;
  for (int i = first; i < length; ++i)
    if (data[i] == oldChar) {
      data[i] = newChar;
      ++count;
    }
  return count;
}

int CString::Replace(const wchar_t* oldText, const wchar_t* newText) {
  const int oldLength = TextLength(oldText);
  if (oldLength == 0 || Find(oldText) < 0) return 0;
  const int newLength = TextLength(newText);
  CString result;
  int count = 0;
  int from = 0;
  for (int hit = Find(oldText); hit >= 0; hit = Find(oldText, from)) {
    result.Append(m_pszData + from, hit - from);
    result.Append(newText, newLength);
    from = hit + oldLength;
    ++count;
  }
  result.Append(m_pszData + from, GetLength() - from);
  *this = static_cast<CString&&>(result);
  return count;
}

int CString::Remove(wchar_t ch) {
  const int length = GetLength();
  if (Find(ch) < 0) return 0;
  wchar_t* data = PrepareWrite(length, length);
  int kept = 0;
  for (int i = 0; i < length; ++i)
    if (data[i] != ch) data[kept++] = data[i];
  SetLength(kept);
  return length - kept;
}

int CString::Insert(int index, wchar_t ch) { return Insert(index, CString(ch, 1)); }

int CString::Insert(int index, const wchar_t* text) {
  const int length = GetLength();
  if (index < 0) index = 0;
  if (index > length) index = length;
  const CString insert(text);  // text may lie in this buffer
  const int added = insert.GetLength();
  if (added == 0) return length;
  wchar_t* data = PrepareWrite(length + added, length);
  if (!data) return length;
  std::memmove(data + index + added, data + index, (length - index) * sizeof(wchar_t));
  std::memcpy(data + index, insert.m_pszData, added * sizeof(wchar_t));
  SetLength(length + added);
  return length + added;
}

int CString::Delete(int index, int count) {
  const int length = GetLength();
  if (index < 0) index = 0;
  if (count <= 0 || index >= length) return length;
  if (count > length - index) count = length - index;
  wchar_t* data = PrepareWrite(length, length);
  std::memmove(data + index, data + index + count, (length - index - count) * sizeof(wchar_t));
  SetLength(length - count);
  return length - count;
}

namespace {
const wchar_t kWhitespace[] = L" \t\r\n\v\f";
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::Trim(wchar_t ch) { return TrimRight(ch).TrimLeft(ch); }
CString& CString::Trim(const wchar_t* chars) { return TrimRight(chars).TrimLeft(chars); }
CString& CString::TrimLeft() { return TrimLeft(kWhitespace); }
CString& CString::TrimRight() { return TrimRight(kWhitespace); }

CString& CString::TrimLeft(wchar_t ch) {
  const wchar_t chars[2] = {ch, 0};
  return TrimLeft(chars);
}

CString& CString::TrimRight(wchar_t ch) {
  const wchar_t chars[2] = {ch, 0};
  return TrimRight(chars);
}

CString& CString::TrimLeft(const wchar_t* chars) {
  int n = 0;
  while (n < GetLength() && IsIn(m_pszData[n], chars)) ++n;
  if (n > 0) Delete(0, n);
  return *this;
}

CString& CString::TrimRight(const wchar_t* chars) {
  int n = GetLength();
  while (n > 0 && IsIn(m_pszData[n - 1], chars)) --n;
  if (n < GetLength()) {
    const int length = GetLength();
    PrepareWrite(length, length);
    SetLength(n);
  }
  return *this;
}

CString& CString::MakeLower() {
  const int length = GetLength();
  if (length == 0) return *this;
  wchar_t* data = PrepareWrite(length, length);
  CharLowerBuffW(data, static_cast<DWORD>(length));
  return *this;
}

CString& CString::MakeUpper() {
  const int length = GetLength();
  if (length == 0) return *this;
  wchar_t* data = PrepareWrite(length, length);
  CharUpperBuffW(data, static_cast<DWORD>(length));
  return *this;
}

CString& CString::MakeReverse() {
  const int length = GetLength();
  if (length < 2) return *this;
  wchar_t* data = PrepareWrite(length, length);
  for (int i = 0, j = length - 1; i < j; ++i, --j) {
    const wchar_t t = data[i];
    data[i] = data[j];
    data[j] = t;
  }
  return *this;
}

CString operator+(const CString& a, const CString& b) {
  CString result(a);
  result.Append(b);
  return result;
}

CString operator+(const CString& a, const wchar_t* b) {
  CString result(a);
  result += b;
  return result;
}

CString operator+(const wchar_t* a, const CString& b) {
  CString result(a);
  result.Append(b);
  return result;
}

CString operator+(const CString& a, wchar_t b) {
  CString result(a);
  result.AppendChar(b);
  return result;
}

CString operator+(wchar_t a, const CString& b) {
  CString result(a, 1);
  result.Append(b);
  return result;
}
