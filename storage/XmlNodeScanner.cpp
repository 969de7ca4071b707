#include "storage/XmlNodeScanner.h"

#include <algorithm>
#include <cwchar>
#include <string_view>

bool IsXmlSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r'; }

bool IsXmlNameEnd(wchar_t c) {
  switch (c) {
    case L' ': case L'\t': case L'\n': case L'\r': case L'<': case L'>': case L'=': case L'\\':
    case L'/': case L'?': case L'!': case L'"': case L'\'': case L';':
      return true;
    default:
      return false;
  }
}

int XmlNameEnd(const wchar_t* text, int length, int from) {
  while (from < length && !IsXmlNameEnd(text[from])) ++from;
  return from;
}

namespace {
bool StartsStartTag(wchar_t c) { return (c >= L'A' && c <= L'Z') || c == L'_' || c == L':' || c > 96; }
}  // namespace

XmlNode XmlNodeScanner::Scan(int offset) const {
  XmlNode node;
  node.start = offset;
  if (offset >= m_length) return node;
  const wchar_t* t = m_text;
  if (t[offset] != L'<') {
    // White space stays white space only up to the first other character.
    int i = offset;
    node.kind = kXmlWhiteSpace;
    while (i < m_length && t[i] != L'<') {
      if (!IsXmlSpace(t[i])) node.kind = kXmlText;
      ++i;
    }
    node.length = i - offset;
    return node;
  }
  if (offset + 1 >= m_length) {
    Unterminated(node, L"tag");
    return node;
  }
  const wchar_t c = t[offset + 1];
  if (c == L'/') {
    node.nameStart = offset + 2;
    node.nameEnd = XmlNameEnd(t, m_length, node.nameStart);
    ScanUntil(node, offset + 2, L">", kXmlEndTag, L"end_tag");
  } else if (c == L'?') {
    ScanUntil(node, offset + 2, L"?>", kXmlProcessingInstruction, L"processing_instruction");
  } else if (c == L'!') {
    const wchar_t c2 = offset + 2 < m_length ? t[offset + 2] : 0;
    const wchar_t c3 = offset + 3 < m_length ? t[offset + 3] : 0;
    if (c2 == 0) {
      Unterminated(node, L"tag");
    } else if (c2 == L'-') {
      if (c3 == 0) Unterminated(node, L"tag");
      else if (c3 != L'-') Fail(node, L"comment_tag_syntax", offset + 3);
      else ScanUntil(node, offset + 4, L"-->", kXmlComment, L"comment");
    } else if (c2 == L'[') {
      if (c3 == 0) Unterminated(node, L"tag");
      else if (c3 != L'C') Fail(node, L"cdata_section_syntax", offset + 3);
      else ScanUntil(node, offset + 4, L"]]>", kXmlCData, L"cdata_section");
    } else if (c2 == L'D') {
      ScanDocumentType(node);
    } else {
      Fail(node, L"exclamation_tag_syntax", offset + 2);
    }
  } else if (StartsStartTag(c)) {
    ScanStartTag(node);
  } else {
    Fail(node, L"first_tag_syntax", offset + 1);
  }
  return node;
}

void XmlNodeScanner::ScanStartTag(XmlNode& node) const {
  const wchar_t* t = m_text;
  node.nameStart = node.start + 1;
  node.nameEnd = XmlNameEnd(t, m_length, node.nameStart);
  wchar_t lastMark = 0;  // last character that was not white space, outside values
  wchar_t quote = 0;
  for (int i = node.nameEnd; i < m_length; ++i) {
    const wchar_t c = t[i];
    if (quote) {
      if (c == quote) {
        quote = 0;
        lastMark = c;
      }
      continue;
    }
    if ((c == L'"' || c == L'\'') && lastMark == L'=') {
      quote = c;
      continue;
    }
    if (c == L'>') {
      node.kind = kXmlStartTag;
      node.length = i + 1 - node.start;
      // "/>" makes the tag empty only when the "/" stands after the name, white space or a
      // quote; an unquoted value that runs into the "/" keeps it.
      if (i - 1 > node.start && t[i - 1] == L'/') {
        const int before = i - 2;
        const wchar_t b = t[before];
        node.empty = before == node.nameEnd - 1 || IsXmlSpace(b) || b == L'"' || b == L'\'';
      }
      return;
    }
    if (!IsXmlSpace(c)) lastMark = c;
  }
  Unterminated(node, L"start_tag");
}

void XmlNodeScanner::ScanDocumentType(XmlNode& node) const {
  const wchar_t* t = m_text;
  wchar_t quote = 0;
  int nested = 0;  // open declarations of the internal subset
  for (int i = node.start + 3; i < m_length; ++i) {
    const wchar_t c = t[i];
    if (quote) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == L'"' || c == L'\'') {
      quote = c;
    } else if (c == L'<') {
      const wchar_t c1 = i + 1 < m_length ? t[i + 1] : 0;
      const wchar_t c2 = i + 2 < m_length ? t[i + 2] : 0;
      if (c1 == 0 || (c1 == L'!' && c2 == 0)) break;  // the text ends inside the subset
      if (c1 != L'!' || (c2 != L'E' && c2 != L'A' && c2 != L'N')) {
        Fail(node, L"doctype_tag_syntax", i);
        return;
      }
      ++nested;
    } else if (c == L'>') {
      if (nested == 0) {
        node.kind = kXmlDocumentType;
        node.length = i + 1 - node.start;
        return;
      }
      --nested;
    }
  }
  Unterminated(node, L"document_type");
}

void XmlNodeScanner::ScanUntil(XmlNode& node, int from, const wchar_t* ending, int kind,
                               const wchar_t* type) const {
  const int n = static_cast<int>(std::wcslen(ending));
  for (int i = from + n - 1; i < m_length; ++i) {
    if (m_text[i] != L'>') continue;
    if (std::wmemcmp(m_text + i - (n - 1), ending, n - 1) != 0) continue;
    node.kind = kind;
    node.length = i + 1 - node.start;
    return;
  }
  Unterminated(node, type);
}

void XmlNodeScanner::Fail(XmlNode& node, const wchar_t* entry, int from) const {
  // The error node runs to the next ">" inclusive, or up to the next "<".
  node.kind = kXmlError;
  node.syntaxEntry = entry;
  int i = from;
  while (i < m_length && m_text[i] != L'>' && m_text[i] != L'<') ++i;
  if (i < m_length && m_text[i] == L'>') ++i;
  node.length = i - node.start;
}

void XmlNodeScanner::Unterminated(XmlNode& node, const wchar_t* type) const {
  node.kind = kXmlError;
  node.syntaxEntry = L"unterminated_tag_syntax";
  node.syntaxType = type;
  node.length = m_length - node.start;
}

XmlAttributeSpot LocateXmlAttribute(const wchar_t* t, int from, int end, const wchar_t* name) {
  const std::wstring_view wanted(name);
  auto skipSpace = [&](int i) {
    while (i < end && IsXmlSpace(t[i])) ++i;
    return i;
  };
  auto runEnd = [&](int i, bool value) {
    while (i < end && !IsXmlSpace(t[i]) && t[i] != L'>' &&
           (value || (t[i] != L'=' && t[i] != L'/' && t[i] != L'?')))
      ++i;
    return i;
  };
  auto quotedEnd = [&](int i) {  // i at the opening quote; the closing quote's offset
    int q = i + 1;
    while (q < end && t[q] != t[i]) ++q;
    return q;
  };
  XmlAttributeSpot spot;
  int i = runEnd(from, false);  // the tag name
  spot.insertAt = i;
  for (;;) {
    i = skipSpace(i);
    // Only an unquoted token where a name belongs ends the attributes: a value such as
    // "/?" never does.
    if (i >= end || t[i] == L'/' || t[i] == L'>' || t[i] == L'?') break;
    int nameStart = i, nameEnd = i;
    if (t[i] == L'"' || t[i] == L'\'') {
      nameStart = i + 1;
      nameEnd = quotedEnd(i);
      i = std::min(nameEnd + 1, end);
    } else if (t[i] != L'=') {
      nameEnd = i = runEnd(i, false);
    }
    XmlAttributeSpot here;
    here.valueStart = nameStart;
    here.valueEnd = nameEnd;
    here.replaceStart = here.replaceEnd = i;  // a name without "=" gets one after it
    const int equals = skipSpace(i);
    if (equals < end && t[equals] == L'=') {
      here.hasEquals = true;
      const int value = skipSpace(equals + 1);
      if (value < end && (t[value] == L'"' || t[value] == L'\'')) {
        here.valueStart = value + 1;
        here.valueEnd = quotedEnd(value);
        i = std::min(here.valueEnd + 1, end);
      } else {
        here.valueStart = value;
        here.valueEnd = i = runEnd(value, true);
      }
      here.replaceStart = value;
      here.replaceEnd = i;
    }
    if (std::wstring_view(t + nameStart, nameEnd - nameStart) == wanted) {
      here.found = true;
      here.insertAt = spot.insertAt;
      return here;
    }
    spot.insertAt = i;
  }
  return spot;
}
