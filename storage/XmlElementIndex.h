// XmlElementIndex: the records of an XmlDocument's elements, stored in pages of 65536 so
// that a full page is never copied again when the index grows. A record holds offsets
// into the document's text and links to its relatives, never a copy of any text. The
// index belongs to one XmlDocument and is used on that document's thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

// Marks of a record. kXmlMarkError is used on the document record (index 0) only.
enum XmlElementMark : uint32_t {
  kXmlMarkFirstChild = 0x1,   // the element is its parent's first child
  kXmlMarkNeverClosed = 0x2,  // the element has no end tag; its length is its start tag
  kXmlMarkError = 0x4,        // the text is not well formed
};

// One element. Every field is a full 32-bit integer, so a hostile file with a huge start
// tag, a long end-tag name or very deep nesting can never wrap a field around.
struct XmlElementRecord {
  int32_t start;            // offset of the "<" of the start tag
  int32_t length;           // start of the start tag to the end of the end tag (start tag only without end tag)
  int32_t startTagLength;   // "<" to ">" inclusive
  int32_t endTagLength;     // 0 when there is no end tag
  int32_t level;            // root element 0, its children 1, ...
  uint32_t marks;           // XmlElementMark bits
  int32_t parent;           // 0 for a top-level element
  int32_t firstChild;       // 0 when none
  int32_t nextSibling;      // 0 when none
  int32_t previousSibling;  // a first child holds its parent's last child here
};

class XmlElementIndex {
public:
  static constexpr int kPageBits = 16;
  static constexpr int kPageSize = 1 << kPageBits;

  // Makes at least count records available (new ones zeroed). Existing records keep
  // their contents; only the partly filled last page is ever reallocated.
  void Reserve(int count);
  void Clear();
  int Reserved() const { return m_reserved; }

  XmlElementRecord& operator[](int index) { return m_pages[index >> kPageBits][index & (kPageSize - 1)]; }
  const XmlElementRecord& operator[](int index) const {
    return m_pages[index >> kPageBits][index & (kPageSize - 1)];
  }

private:
  std::vector<std::unique_ptr<XmlElementRecord[]>> m_pages;
  int m_reserved = 0;
};
