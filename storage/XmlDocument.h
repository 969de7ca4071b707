// XmlDocument: the one class with which the program reads and writes its XML files. The
// whole text is kept as one UTF-16 string with an index of where each element lies in it
// (XmlElementIndex); reading never copies text into nodes, and editing changes the text in
// place and moves the index entries behind the edit, so the index always equals what a
// fresh parse of the edited text would give. Every problem is written into a result log
// (an XML fragment of empty elements); nothing is thrown or shown. A document is a plain
// value used by one thread, mostly on the stack for one load or save.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "storage/XmlElementIndex.h"
#include "storage/XmlNodeScanner.h"
#include "ui/core/CString.h"

// Attribute selection of XmlDocument::LogResult: one text value, then one number, then
// an optional second offset. kXmlLogUpdate replaces the first entry of the same word.
enum XmlLogAttribute : unsigned {
  kXmlLogType = 0x1,
  kXmlLogEncoding = 0x2,
  kXmlLogMsg = 0x4,
  kXmlLogTagName = 0x8,
  kXmlLogN = 0x10,
  kXmlLogCount = 0x20,
  kXmlLogLength = 0x40,
  kXmlLogOffset = 0x80,
  kXmlLogOffset2 = 0x100,
  kXmlLogUpdate = 0x200,
};

class XmlDocument {
public:
  XmlDocument();
  explicit XmlDocument(const wchar_t* text);
  ~XmlDocument();
  XmlDocument(const XmlDocument&) = delete;
  XmlDocument& operator=(const XmlDocument&) = delete;

  // Replaces the text (null empties it) and parses it; true when it is well formed.
  bool ParseText(const wchar_t* text = nullptr);
  // Rebuilds the element index from the text and forgets the position.
  bool Parse();
  // True when the text is well formed: no error mark, a root element without siblings.
  bool CheckStructure() const;
  // Adds one entry to the result log; while the log holds more than 999 characters
  // nothing more is added.
  void LogResult(const wchar_t* word, unsigned attributes, const wchar_t* text, long long number,
                 long long number2);

  // Moves forward among the parent's children, after the current element, to the next
  // element of that tag name (exact case; the name is cut at space, "=", "/", "[" or "]");
  // no name takes the next element. False, and no move, when there is none.
  bool NextElement(const wchar_t* name = nullptr);
  // The current element becomes the parent; the element last left becomes current again.
  bool EnterElement();
  // The parent becomes the current element again.
  bool LeaveElement();
  // The unescaped value of an attribute of the current element (empty when there is none).
  CString GetAttribute(const wchar_t* name) const;
  CString ReadAttributeAt(int element, const wchar_t* name) const;
  // Sets or adds an attribute, escaped and in double quotes; false (text unchanged) when
  // there is no current element or the index names no element.
  bool WriteAttributeAt(int element, const wchar_t* name, const wchar_t* value);
  bool SetAttribute(const wchar_t* name, int value);
  // Appends an empty element on a line of its own after the current element, or as the
  // last child of the parent when there is none; it becomes the current element.
  bool AppendElement(const wchar_t* name);

  // Reads a whole file into the text (scramble: every byte XORed with XmlScrambleMask
  // first) and parses it; true only when it was read and is well formed. Every failure
  // leaves the document empty, without elements.
  bool ReadFromFile(const wchar_t* path, bool scramble);
  // The byte-level part of ReadFromFile: decodes the bytes of a whole file (byte-order
  // mark, declared encoding, scrambling, zero units, byte order, UTF-8 test, code page)
  // into the text, appending its entries to the log, and parses it.
  bool LoadFileBytes(std::vector<unsigned char> bytes, bool scramble);
  // Writes the whole text in the encoding its declaration names (UTF-8 when none), with the
  // byte-order mark of the file it was read from; true when the file was opened, written
  // and closed. A text that cannot be encoded leaves an existing file untouched.
  bool WriteToFile(const wchar_t* path, bool scramble);

  const std::wstring& GetText() const { return m_text; }
  const std::wstring& GetResultLog() const { return m_log; }
  const XmlElementIndex& GetIndex() const { return m_index; }
  int GetRecordCount() const { return m_nextFree; }  // the document record included
  int GetParentPosition() const { return m_parent; }
  int GetElementPosition() const { return m_element; }
  int GetChildPosition() const { return m_child; }
  int GetNodeKind() const { return m_nodeKind; }
  int GetFlags() const { return m_flags; }

private:
  struct ParseState;
  void BuildElements();
  int TakeRecord();
  void LinkAsLastChild(int parent, int element);
  // Closes the open elements from stack position first to the top as never closed.
  void CloseUnended(ParseState& state, size_t first, int offset2);
  void AssignLevels();

  // Logs "file_error" with the system's message for the error.
  void LogFileError(unsigned long error);
  // Empties the text and the index together after a failed read.
  void ResetAfterFailedRead();

  XmlAttributeSpot LocateAttribute(int element, const wchar_t* name) const;
  bool IsElement(int element) const { return element > 0 && element < m_nextFree; }
  std::wstring_view TagName(int element) const;
  // Inserts the new element's text for record element and returns where it starts.
  int SpliceNode(int element, const std::wstring& text);
  void AttachRecord(int element, int start, int length);
  // Replaces count characters at offset and moves or grows every record but except.
  void ReplaceText(int offset, int count, const std::wstring& text, int except);
  void ShiftPositions(int offset, int change, int except);

  std::wstring m_text;
  std::wstring m_log;
  int m_parent = 0;
  int m_element = 0;
  int m_child = 0;
  int m_nextFree = 1;
  int m_nodeKind = 0;
  int m_flags = 0;
  XmlElementIndex m_index;
};
