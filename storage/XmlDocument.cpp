#include "storage/XmlDocument.h"

#include <algorithm>
#include <cwchar>
#include <string_view>
#include <unordered_map>

#include "storage/XmlMarkup.h"
#include "storage/XmlNodeScanner.h"

namespace {
constexpr size_t kLogCap = 999;

// Attribute names of log entries: the first selected name of each group is written.
struct LogName {
  unsigned bit;
  const wchar_t* name;
};
constexpr LogName kLogTextNames[] = {
    {kXmlLogType, L"type"}, {kXmlLogEncoding, L"encoding"}, {kXmlLogMsg, L"msg"}, {kXmlLogTagName, L"tagname"}};
constexpr LogName kLogNumberNames[] = {
    {kXmlLogN, L"n"}, {kXmlLogCount, L"count"}, {kXmlLogLength, L"length"}, {kXmlLogOffset, L"offset"}};

template <size_t N>
const wchar_t* PickLogName(const LogName (&names)[N], unsigned attributes) {
  for (const LogName& n : names)
    if (attributes & n.bit) return n.name;
  return nullptr;
}
}  // namespace

// The names of the open elements (views into the text, which does not change while it
// is parsed) and how many of each name are open, so that an end tag that matches nothing
// is known at once instead of after a walk down the whole stack.
struct XmlDocument::ParseState {
  struct OpenElement {
    int record;
    std::wstring_view name;
  };
  std::vector<OpenElement> stack;
  std::unordered_map<std::wstring_view, int> openCount;
};

XmlDocument::XmlDocument() { ParseText(nullptr); }

XmlDocument::XmlDocument(const wchar_t* text) { ParseText(text); }

XmlDocument::~XmlDocument() = default;

bool XmlDocument::ParseText(const wchar_t* text) {
  if (text) {
    m_text = text;
  } else {
    m_text.clear();
    m_text.shrink_to_fit();
    m_index.Clear();
  }
  m_log.clear();
  return Parse();
}

bool XmlDocument::Parse() {
  m_parent = m_element = m_child = m_nodeKind = 0;
  m_nextFree = 1;
  m_index.Reserve(static_cast<int>(m_text.size() / 64 + 8));
  m_index[0] = XmlElementRecord{};
  if (!m_text.empty()) {
    BuildElements();
    XmlElementRecord& document = m_index[0];
    document.length = static_cast<int>(m_text.size());
    if (document.firstChild == 0) {
      LogResult(L"no_root_element", 0, nullptr, 0, 0);
    } else if (m_index[document.firstChild].nextSibling != 0) {
      LogResult(L"root_has_sibling", 0, nullptr, 0, 0);
    }
  }
  m_parent = m_element = m_child = m_nodeKind = 0;
  return CheckStructure();
}

bool XmlDocument::CheckStructure() const {
  const XmlElementRecord& document = m_index[0];
  return !(document.marks & kXmlMarkError) && document.firstChild != 0 &&
         m_index[document.firstChild].nextSibling == 0;
}

void XmlDocument::BuildElements() {
  const wchar_t* text = m_text.data();
  const int length = static_cast<int>(m_text.size());
  XmlNodeScanner scanner(text, length);
  ParseState state;
  state.stack.reserve(7);
  int parent = 0;
  int offset = 0;
  bool moved = false;
  for (;;) {
    const XmlNode node = scanner.Scan(offset);
    if (node.kind == kXmlEndOfText) break;
    offset += node.length;
    if (node.kind == kXmlStartTag) {
      const int element = TakeRecord();
      XmlElementRecord& record = m_index[element];
      record.start = node.start;
      record.startTagLength = node.length;
      record.level = static_cast<int>(state.stack.size());
      LinkAsLastChild(parent, element);
      if (node.empty) {
        record.length = node.length;
      } else {
        const std::wstring_view name(text + node.nameStart, node.nameEnd - node.nameStart);
        state.stack.push_back({element, name});
        ++state.openCount[name];
        parent = element;
      }
    } else if (node.kind == kXmlEndTag) {
      const std::wstring_view name(text + node.nameStart, node.nameEnd - node.nameStart);
      const auto open = state.openCount.find(name);
      if (open == state.openCount.end() || open->second == 0) {
        LogResult(L"lone_end_tag", kXmlLogTagName | kXmlLogOffset, std::wstring(name).c_str(), node.start, 0);
        m_index[0].marks |= kXmlMarkError;
        continue;
      }
      size_t match = state.stack.size() - 1;
      while (state.stack[match].name != name) --match;
      if (match + 1 < state.stack.size()) {
        moved = true;
        CloseUnended(state, match + 1, node.start + 1);
      }
      XmlElementRecord& record = m_index[state.stack[match].record];
      record.length = node.start + node.length - record.start;
      record.endTagLength = node.length;
      --state.openCount[name];
      state.stack.pop_back();
      parent = record.parent;
    } else if (node.kind == kXmlError) {
      m_index[0].marks |= kXmlMarkError;
      LogResult(node.syntaxEntry, (node.syntaxType ? unsigned{kXmlLogType} : 0u) | kXmlLogOffset, node.syntaxType,
                node.start, 0);
    }
  }
  if (!state.stack.empty()) {
    moved = true;
    CloseUnended(state, 0, length);
  }
  if (moved) AssignLevels();
}

int XmlDocument::TakeRecord() {
  if (m_nextFree >= m_index.Reserved()) m_index.Reserve(m_index.Reserved() + m_index.Reserved() / 2);
  const int index = m_nextFree++;
  m_index[index] = XmlElementRecord{};
  return index;
}

void XmlDocument::LinkAsLastChild(int parent, int element) {
  XmlElementRecord& record = m_index[element];
  XmlElementRecord& parentRecord = m_index[parent];
  record.parent = parent;
  record.nextSibling = 0;
  if (parentRecord.firstChild == 0) {
    parentRecord.firstChild = element;
    record.marks |= kXmlMarkFirstChild;
    record.previousSibling = element;
  } else {
    XmlElementRecord& first = m_index[parentRecord.firstChild];
    m_index[first.previousSibling].nextSibling = element;
    record.previousSibling = first.previousSibling;
    first.previousSibling = element;
  }
}

void XmlDocument::CloseUnended(ParseState& state, size_t first, int offset2) {
  // Outermost first: each element's children join the element's parent right after it.
  // An open element is always the last child of its parent, and so is the run of children
  // it hands on, so every element is moved once however deep the unclosed nesting goes.
  for (size_t i = first; i < state.stack.size(); ++i) {
    const int element = state.stack[i].record;
    XmlElementRecord& record = m_index[element];
    record.marks |= kXmlMarkNeverClosed;
    record.length = record.startTagLength;
    record.endTagLength = 0;
    const int child = record.firstChild;
    if (child == 0) continue;
    XmlElementRecord& firstChild = m_index[child];
    const int last = firstChild.previousSibling;
    firstChild.marks &= ~kXmlMarkFirstChild;
    firstChild.previousSibling = element;
    for (int c = child; c != 0; c = m_index[c].nextSibling) m_index[c].parent = record.parent;
    record.nextSibling = child;
    record.firstChild = 0;
    m_index[m_index[record.parent].firstChild].previousSibling = last;
  }
  // Logged innermost first, the order in which an end tag or the end of the text meets them.
  for (size_t i = state.stack.size(); i-- > first;) {
    const ParseState::OpenElement& open = state.stack[i];
    LogResult(L"unended_start_tag", kXmlLogTagName | kXmlLogOffset | kXmlLogOffset2,
              std::wstring(open.name).c_str(), m_index[open.record].start, offset2);
    --state.openCount[open.name];
  }
  m_index[0].marks |= kXmlMarkError;
  state.stack.resize(first);
}

void XmlDocument::AssignLevels() {
  // A parent always has a lower index than its children, also after never-closed elements
  // handed their children up, so one pass in index order gives every level.
  for (int i = 1; i < m_nextFree; ++i) {
    XmlElementRecord& record = m_index[i];
    record.level = record.parent == 0 ? 0 : m_index[record.parent].level + 1;
  }
}

void XmlDocument::LogResult(const wchar_t* word, unsigned attributes, const wchar_t* text, long long number,
                            long long number2) {
  std::wstring entry = L"<";
  entry += word;
  const wchar_t* textName = PickLogName(kLogTextNames, attributes);
  if (textName) {
    entry += L' ';
    entry += textName;
    entry += L"=\"";
    if (text) entry += EscapeMarkup(text, std::wcslen(text));
    entry += L'"';
  }
  const wchar_t* numberName = PickLogName(kLogNumberNames, attributes);
  if (numberName) {
    entry += L' ';
    entry += numberName;
    entry += L"=\"" + std::to_wstring(number) + L'"';
  }
  if (attributes & kXmlLogOffset2) entry += L" offset2=\"" + std::to_wstring(number2) + L'"';
  entry += L"/>";
  if (attributes & kXmlLogUpdate) {
    const std::wstring head = std::wstring(L"<") + word;
    for (size_t at = m_log.find(head); at != std::wstring::npos; at = m_log.find(head, at + 1)) {
      const wchar_t after = at + head.size() < m_log.size() ? m_log[at + head.size()] : 0;
      if (after != L' ' && after != L'/') continue;
      const size_t end = m_log.find(L"/>", at);
      m_log.replace(at, end + 2 - at, entry);
      return;
    }
  }
  if (m_log.size() > kLogCap) return;
  m_log += entry;
}

std::wstring_view XmlDocument::TagName(int element) const {
  const XmlElementRecord& record = m_index[element];
  const int end = XmlNameEnd(m_text.data(), record.start + record.startTagLength, record.start + 1);
  return std::wstring_view(m_text.data() + record.start + 1, end - record.start - 1);
}

bool XmlDocument::NextElement(const wchar_t* name) {
  int candidate = m_element ? m_index[m_element].nextSibling : m_index[m_parent].firstChild;
  if (name && *name) {
    const std::wstring_view wanted(name, std::wcscspn(name, L" =/[]"));
    while (candidate != 0 && (wanted.empty() || TagName(candidate) != wanted))
      candidate = m_index[candidate].nextSibling;
  }
  if (candidate == 0) return false;
  m_element = candidate;
  m_parent = m_index[candidate].parent;
  m_child = 0;
  m_nodeKind = 1;
  return true;
}

bool XmlDocument::EnterElement() {
  if (m_element == 0) return false;
  m_parent = m_element;
  m_element = m_child;
  m_child = 0;
  m_nodeKind = m_element ? 1 : 0;
  return true;
}

bool XmlDocument::LeaveElement() {
  if (m_parent == 0) return false;
  m_child = m_element;
  m_element = m_parent;
  m_parent = m_index[m_element].parent;
  m_nodeKind = 1;
  return true;
}

XmlAttributeSpot XmlDocument::LocateAttribute(int element, const wchar_t* name) const {
  const XmlElementRecord& record = m_index[element];
  return LocateXmlAttribute(m_text.data(), record.start + 1, record.start + record.startTagLength - 1, name);
}

CString XmlDocument::GetAttribute(const wchar_t* name) const { return ReadAttributeAt(m_element, name); }

CString XmlDocument::ReadAttributeAt(int element, const wchar_t* name) const {
  if (!IsElement(element) || m_element == 0 || !name || !*name) return CString();
  const XmlAttributeSpot spot = LocateAttribute(element, name);
  if (!spot.found) return CString();
  const std::wstring value = UnescapeMarkup(m_text.data() + spot.valueStart, spot.valueEnd - spot.valueStart);
  return CString(value.c_str(), static_cast<int>(value.size()));
}

bool XmlDocument::WriteAttributeAt(int element, const wchar_t* name, const wchar_t* value) {
  if (!IsElement(element) || m_element == 0 || !name || !*name) return false;
  const std::wstring escaped = L"\"" + EscapeMarkup(value ? value : L"", value ? std::wcslen(value) : 0) + L"\"";
  const XmlAttributeSpot spot = LocateAttribute(element, name);
  if (spot.found) {
    ReplaceText(spot.replaceStart, spot.replaceEnd - spot.replaceStart, spot.hasEquals ? escaped : L"=" + escaped, 0);
  } else {
    ReplaceText(spot.insertAt, 0, L" " + std::wstring(name) + L"=" + escaped, 0);
  }
  return true;
}

bool XmlDocument::SetAttribute(const wchar_t* name, int value) {
  return WriteAttributeAt(m_element, name, std::to_wstring(value).c_str());
}

bool XmlDocument::AppendElement(const wchar_t* name) {
  if (!name || !*name) return false;
  const std::wstring text = L"<" + std::wstring(name) + L"/>";
  const int element = TakeRecord();
  const int start = SpliceNode(element, text + L"\r\n");
  AttachRecord(element, start, static_cast<int>(text.size()));
  m_element = element;
  m_child = 0;
  m_nodeKind = 1;
  return true;
}

int XmlDocument::SpliceNode(int element, const std::wstring& text) {
  const bool top = m_parent == 0;
  const XmlElementRecord parent = m_index[m_parent];
  if (!top && m_element == 0 && parent.endTagLength == 0) {
    // An empty or never-closed parent becomes a start tag, the new line and an end tag.
    const std::wstring name(TagName(m_parent));
    const int close = parent.start + parent.startTagLength - 1;
    const bool neverClosed = (parent.marks & kXmlMarkNeverClosed) != 0;
    const int at = neverClosed ? close : close - 1;
    ReplaceText(at, neverClosed ? 0 : 1, L">\r\n" + text + L"</" + name, element);
    XmlElementRecord& record = m_index[m_parent];
    record.startTagLength = parent.startTagLength - (neverClosed ? 0 : 1);
    record.endTagLength = static_cast<int>(name.size()) + 3;
    record.marks &= ~kXmlMarkNeverClosed;
    return at + 3;
  }
  if (!top && m_element == 0 && parent.length == parent.startTagLength + parent.endTagLength) {
    const int at = parent.start + parent.startTagLength;
    ReplaceText(at, 0, L"\r\n" + text, element);
    return at + 2;
  }
  int at;
  if (m_element != 0) {
    at = m_index[m_element].start + m_index[m_element].length;
  } else {
    at = top ? static_cast<int>(m_text.size()) : parent.start + parent.length - parent.endTagLength;
  }
  int after = at;
  while (after < static_cast<int>(m_text.size()) && IsXmlSpace(m_text[after])) ++after;
  if (after == static_cast<int>(m_text.size()) || m_text[after] == L'<') at = after;
  ReplaceText(at, 0, text, element);
  return at;
}

void XmlDocument::AttachRecord(int element, int start, int length) {
  XmlElementRecord& record = m_index[element];
  record.start = start;
  record.length = record.startTagLength = length;
  record.level = m_parent == 0 ? 0 : m_index[m_parent].level + 1;
  if (m_element == 0) {
    LinkAsLastChild(m_parent, element);
    return;
  }
  XmlElementRecord& previous = m_index[m_element];
  record.parent = m_parent;
  record.previousSibling = m_element;
  record.nextSibling = previous.nextSibling;
  if (previous.nextSibling != 0) {
    m_index[previous.nextSibling].previousSibling = element;
  } else {
    m_index[m_index[m_parent].firstChild].previousSibling = element;
  }
  previous.nextSibling = element;
}

void XmlDocument::ReplaceText(int offset, int count, const std::wstring& text, int except) {
  m_text.replace(offset, count, text);
  ShiftPositions(offset, static_cast<int>(text.size()) - count, except);
}

void XmlDocument::ShiftPositions(int offset, int change, int except) {
  if (change == 0) return;
  m_index[0].length += change;
  for (int i = 1; i < m_nextFree; ++i) {
    if (i == except) continue;
    XmlElementRecord& record = m_index[i];
    if (record.start >= offset) {
      record.start += change;
    } else if (record.start + record.length > offset) {
      // The change lies inside this element (its start tag included).
      record.length += change;
      if (offset < record.start + record.startTagLength) record.startTagLength += change;
    }
  }
}
