// Helpers for the XML document suites: a compact rendering of the element index for
// tables of expected records, and a checker of the index's structural invariants.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "storage/XmlDocument.h"

namespace xmltest {

// Records 1.. as "start,length,startTag,endTag,level,parent,first,next,previous,marks",
// separated by ";".
inline std::string Records(const XmlDocument& doc) {
  std::string out;
  for (int i = 1; i < doc.GetRecordCount(); ++i) {
    const XmlElementRecord& r = doc.GetIndex()[i];
    if (!out.empty()) out += ';';
    out += std::to_string(r.start) + ',' + std::to_string(r.length) + ',' + std::to_string(r.startTagLength) +
           ',' + std::to_string(r.endTagLength) + ',' + std::to_string(r.level) + ',' + std::to_string(r.parent) +
           ',' + std::to_string(r.firstChild) + ',' + std::to_string(r.nextSibling) + ',' +
           std::to_string(r.previousSibling) + ',' + std::to_string(r.marks);
  }
  return out;
}

inline std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// Empty when the index is sound, else the first fault found: every record lies inside the
// text, sibling chains end, each parent's last-child link and first-child mark are right,
// children lie inside their parent after the preceding sibling, levels follow the parents.
inline std::string CheckIndex(const XmlDocument& doc) {
  const XmlElementIndex& index = doc.GetIndex();
  const int count = doc.GetRecordCount();
  const long long textLength = static_cast<long long>(doc.GetText().size());
  if (!doc.GetText().empty() && index[0].length != textLength) return "document length";
  int seen = 0;
  for (int parent = 0; parent < count; ++parent) {
    const XmlElementRecord& p = index[parent];
    const long long contentStart = parent == 0 ? 0 : p.start + p.startTagLength;
    const long long contentEnd = parent == 0 ? textLength : static_cast<long long>(p.start) + p.length - p.endTagLength;
    if (parent != 0) {
      if (p.start < 0 || p.startTagLength <= 0 || p.length < p.startTagLength || p.endTagLength < 0 ||
          static_cast<long long>(p.start) + p.length > textLength)
        return "record " + std::to_string(parent) + " outside the text";
      if (doc.GetText()[p.start] != L'<' || doc.GetText()[p.start + p.startTagLength - 1] != L'>')
        return "record " + std::to_string(parent) + " is not a tag";
      const int expectedLevel = p.parent == 0 ? 0 : index[p.parent].level + 1;
      if (p.level != expectedLevel) return "level of " + std::to_string(parent);
    }
    int last = 0;
    long long position = contentStart;
    int steps = 0;
    for (int c = p.firstChild; c != 0; c = index[c].nextSibling) {
      if (c <= 0 || c >= count) return "link out of range under " + std::to_string(parent);
      if (++steps > count) return "sibling chain of " + std::to_string(parent) + " does not end";
      const XmlElementRecord& r = index[c];
      if (r.parent != parent) return "parent link of " + std::to_string(c);
      if (((r.marks & kXmlMarkFirstChild) != 0) != (c == p.firstChild))
        return "first-child mark of " + std::to_string(c);
      if (c != p.firstChild && r.previousSibling != last) return "previous link of " + std::to_string(c);
      if (r.start < position || static_cast<long long>(r.start) + r.length > contentEnd)
        return "child " + std::to_string(c) + " outside its parent " + std::to_string(parent);
      position = static_cast<long long>(r.start) + r.length;
      last = c;
      ++seen;
    }
    if (p.firstChild != 0 && index[p.firstChild].previousSibling != last)
      return "last-child link of " + std::to_string(parent);
  }
  if (seen != count - 1) return "records not reachable from the document";
  return "";
}

// The records in text order with their links given as text-order numbers, so that an index
// edited in place compares equal to the index of a fresh parse of its text. The document
// record contributes its length and first child.
inline std::string TreeDump(const XmlDocument& doc) {
  const XmlElementIndex& index = doc.GetIndex();
  std::vector<int> order;
  for (int i = 1; i < doc.GetRecordCount(); ++i) order.push_back(i);
  std::sort(order.begin(), order.end(), [&](int a, int b) { return index[a].start < index[b].start; });
  std::vector<int> rank(doc.GetRecordCount(), 0);
  for (size_t i = 0; i < order.size(); ++i) rank[order[i]] = static_cast<int>(i) + 1;
  const XmlElementRecord& document = index[0];
  std::string out = "doc " + std::to_string(document.length) + " " + std::to_string(rank[document.firstChild]);
  for (int i : order) {
    const XmlElementRecord& r = index[i];
    out += "; " + std::to_string(r.start) + ',' + std::to_string(r.length) + ',' + std::to_string(r.startTagLength) +
           ',' + std::to_string(r.endTagLength) + ',' + std::to_string(r.level) + ',' + std::to_string(rank[r.parent]) +
           ',' + std::to_string(rank[r.firstChild]) + ',' + std::to_string(rank[r.nextSibling]) + ',' +
           std::to_string(rank[r.previousSibling]) + ',' + std::to_string(r.marks);
  }
  return out;
}

}  // namespace xmltest
