// File reading and writing of XmlDocument: the thin file layer over the C runtime, and the
// byte-level decoding and encoding that tests can feed directly.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "storage/XmlDocument.h"
#include "storage/XmlEncoding.h"

namespace {

constexpr size_t kProbeSize = 1024;
constexpr long long kMaxFileSize = 0x7FFFFFFF;  // 2 GB and more is refused

struct FileCloser {
  void operator()(FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

void Scramble(unsigned char* bytes, size_t count) {
  for (size_t i = 0; i < count; ++i) bytes[i] ^= XmlScrambleMask;
}

// Removes every zero unit of unitSize bytes from the first count bytes; returns how many.
size_t RemoveZeroUnits(std::vector<unsigned char>& bytes, size_t first, size_t count, int unitSize) {
  if (unitSize == 1 && !std::memchr(bytes.data() + first, 0, count)) {
    bytes.resize(first + count);
    return 0;
  }
  size_t kept = first;
  size_t removed = 0;
  for (size_t i = first; i + unitSize <= first + count; i += unitSize) {
    const bool zero = bytes[i] == 0 && (unitSize == 1 || bytes[i + 1] == 0);
    if (zero) {
      ++removed;
      continue;
    }
    for (int b = 0; b < unitSize; ++b) bytes[kept++] = bytes[i + b];
  }
  bytes.resize(kept);
  return removed;
}

}  // namespace

void XmlDocument::LogFileError(unsigned long error) {
  wchar_t message[100] = L"";
  FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, message, 100,
                 nullptr);
  message[99] = 0;
  message[std::wcscspn(message, L"\r\n")] = 0;
  LogResult(L"file_error", kXmlLogMsg | kXmlLogN, message, error, 0);
}

void XmlDocument::ResetAfterFailedRead() {
  m_text.clear();
  m_flags = 0;
  Parse();
}

bool XmlDocument::ReadFromFile(const wchar_t* path, bool scramble) {
  m_log.clear();
  m_text.clear();
  FilePtr file(path ? _wfopen(path, L"rb") : nullptr);
  if (!file) {
    LogFileError(path ? GetLastError() : ERROR_INVALID_PARAMETER);
    ResetAfterFailedRead();
    return false;
  }
  long long size = -1;
  if (_fseeki64(file.get(), 0, SEEK_END) == 0) size = _ftelli64(file.get());
  if (size < 0 || size >= kMaxFileSize || _fseeki64(file.get(), 0, SEEK_SET) != 0) {
    LogFileError(size >= kMaxFileSize ? ERROR_FILE_TOO_LARGE : GetLastError());
    ResetAfterFailedRead();
    return false;
  }
  std::vector<unsigned char> bytes(static_cast<size_t>(size));
  if (size > 0 && std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
    const DWORD error = GetLastError();
    LogFileError(error ? error : ERROR_READ_FAULT);
    ResetAfterFailedRead();
    return false;
  }
  if (std::fclose(file.release()) != 0) LogFileError(GetLastError());
  return LoadFileBytes(std::move(bytes), scramble);
}

bool XmlDocument::LoadFileBytes(std::vector<unsigned char> bytes, bool scramble) {
  m_text.clear();
  int flags = 0;
  int unitSize = 1;
  std::wstring encoding;
  bool declared = false;  // a mark or a declaration named the encoding
  size_t content = 0;
  if (!bytes.empty()) {
    // The probe looks at the bytes as stored: a scrambled file shows neither mark nor declaration.
    const size_t probe = std::min(bytes.size(), kProbeSize);
    for (const XmlBom& bom : XmlBomTable) {
      if (probe < static_cast<size_t>(bom.length) || std::memcmp(bytes.data(), bom.bytes, bom.length) != 0) continue;
      flags = bom.flag;
      unitSize = bom.unitSize;
      encoding = bom.encoding;
      content = bom.length;
      declared = true;
      LogResult(L"bom", 0, nullptr, 0, 0);
      break;
    }
    if (!declared) {
      std::wstring probeText(probe + 1, L'\0');
      probeText.resize(XmlTextConverter(L"UTF-8", bytes.data(), static_cast<int>(probe), L"UTF-16", &probeText[0],
                                        static_cast<int>(probeText.size()), nullptr));
      encoding = SniffEncoding(probeText.data(), static_cast<int>(probeText.size()));
      declared = !encoding.empty();
      if (!declared && bytes[0] == '<') encoding = L"UTF-8";
    }
  }
  const size_t count = bytes.size() - content;
  if (count == 0) {
    LogResult(L"read", kXmlLogEncoding | kXmlLogLength, encoding.c_str(), 0, 0);
  } else {
    if (scramble) Scramble(bytes.data() + content, count);
    // An odd byte at the end of a UTF-16 file is no unit and is left out.
    LogResult(L"read", kXmlLogEncoding | kXmlLogLength, encoding.c_str(), count / unitSize, 0);
    const size_t removed = RemoveZeroUnits(bytes, content, count, unitSize);
    if (removed) LogResult(L"nulls_removed", kXmlLogCount, nullptr, static_cast<long long>(removed), 0);
    const unsigned char* data = bytes.data() + content;
    const size_t length = bytes.size() - content;
    if (unitSize == 2) {
      const bool bigEndian = (flags & kXmlFlagUtf16BE) != 0;
      if (bigEndian) LogResult(L"endian_swap", 0, nullptr, 0, 0);
      m_text.resize(length / 2);
      for (size_t i = 0; i < m_text.size(); ++i) {
        const unsigned char low = data[2 * i + (bigEndian ? 1 : 0)];
        const unsigned char high = data[2 * i + (bigEndian ? 0 : 1)];
        m_text[i] = static_cast<wchar_t>(low | (high << 8));
      }
    } else {
      if (!declared) {
        // Without a mark or a declaration the content decides: UTF-8 when it is valid, else
        // the system's ANSI code page.
        encoding = IsValidUtf8(data, length) ? L"UTF-8" : L"";
        LogResult(L"read", kXmlLogEncoding | kXmlLogLength | kXmlLogUpdate, encoding.c_str(), count, 0);
        LogResult(L"utf8_detection", 0, nullptr, 0, 0);
      }
      // No encoding gives more UTF-16 units than it takes bytes, so one pass into a buffer of
      // that size usually serves; the measuring pass runs only when it did not.
      const int units = static_cast<int>(length / XmlEncodingUnitSize(encoding.c_str()));
      m_text.resize(length + length / 100 + 1);
      int produced = XmlTextConverter(encoding.c_str(), data, units, L"UTF-16", &m_text[0],
                                      static_cast<int>(m_text.size()), nullptr);
      if (produced == 0) {
        const int measured = XmlTextConverter(encoding.c_str(), data, units, L"UTF-16", nullptr, 0, nullptr);
        m_text.resize(static_cast<size_t>(measured) + measured / 100 + 1);
        produced = XmlTextConverter(encoding.c_str(), data, units, L"UTF-16", &m_text[0],
                                    static_cast<int>(m_text.size()), nullptr);
      }
      m_text.resize(produced);
      LogResult(L"converted_to", kXmlLogEncoding | kXmlLogLength, L"UTF-16", static_cast<long long>(m_text.size()), 0);
    }
  }
  m_flags = flags;
  return Parse();
}

bool XmlDocument::WriteToFile(const wchar_t* path, bool scramble) {
  m_log.clear();
  const XmlBom* bom = nullptr;
  for (const XmlBom& b : XmlBomTable) {
    if (m_flags & b.flag) {
      bom = &b;
      break;
    }
  }
  std::wstring encoding = bom ? bom->encoding : L"";
  if (encoding.empty() && !m_text.empty()) {
    encoding = SniffEncoding(m_text.data(), static_cast<int>(m_text.size()));
    if (encoding.empty()) encoding = L"UTF-8";
  }
  // The bytes are made before the file is opened, so that a text that cannot be encoded
  // never truncates the file it was meant to replace.
  const int textUnits = static_cast<int>(m_text.size());
  std::vector<unsigned char> payload;
  bool loss = false;
  int unitSize = bom ? bom->unitSize : 1;
  if (!m_text.empty() && unitSize == 2) {
    const bool bigEndian = bom->flag == kXmlFlagUtf16BE;
    payload.resize(m_text.size() * 2);
    for (size_t i = 0; i < m_text.size(); ++i) {
      payload[2 * i + (bigEndian ? 1 : 0)] = static_cast<unsigned char>(m_text[i] & 0xFF);
      payload[2 * i + (bigEndian ? 0 : 1)] = static_cast<unsigned char>(m_text[i] >> 8);
    }
  } else if (!m_text.empty()) {
    unitSize = XmlEncodingUnitSize(encoding.c_str());
    const int measured = XmlTextConverter(L"UTF-16", m_text.data(), textUnits, encoding.c_str(), nullptr, 0, nullptr);
    payload.resize(static_cast<size_t>(measured) * unitSize);
    const int produced = measured > 0 ? XmlTextConverter(L"UTF-16", m_text.data(), textUnits, encoding.c_str(),
                                                         payload.data(), measured, &loss)
                                      : 0;
    if (produced <= 0) {
      const DWORD error = GetLastError();
      LogFileError(error ? error : ERROR_NO_UNICODE_TRANSLATION);
      return false;
    }
    payload.resize(static_cast<size_t>(produced) * unitSize);
  }
  if (scramble) Scramble(payload.data(), payload.size());

  FilePtr file(path ? _wfopen(path, L"wb") : nullptr);
  if (!file) {
    LogFileError(path ? GetLastError() : ERROR_INVALID_PARAMETER);
    return false;
  }
  bool written = true;
  if (bom) {
    written = std::fwrite(bom->bytes, 1, bom->length, file.get()) == static_cast<size_t>(bom->length);
    LogResult(L"bom", 0, nullptr, 0, 0);
  }
  if (unitSize == 2 && bom) {
    if (bom->flag == kXmlFlagUtf16BE && !m_text.empty()) LogResult(L"endian_swap", 0, nullptr, 0, 0);
  } else if (!m_text.empty()) {
    LogResult(L"converted_from", kXmlLogEncoding | kXmlLogLength, L"UTF-16", textUnits, 0);
    if (loss) LogResult(L"conversion_loss", 0, nullptr, 0, 0);
  }
  if (written && !payload.empty())
    written = std::fwrite(payload.data(), 1, payload.size(), file.get()) == payload.size();
  if (written) {
    LogResult(L"write", kXmlLogEncoding | kXmlLogLength, encoding.c_str(),
              static_cast<long long>(payload.size() / unitSize), 0);
  } else {
    const DWORD error = GetLastError();
    LogFileError(error ? error : ERROR_WRITE_FAULT);
  }
  if (std::fclose(file.release()) != 0) {
    LogFileError(GetLastError());
    written = false;
  }
  return written;
}
