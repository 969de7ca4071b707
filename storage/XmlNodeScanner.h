// XmlNodeScanner: splits an XML text into nodes, one per call, without copying anything.
// It reports where a node lies, its kind, where a tag's name lies and whether a start tag
// is empty; a syntax fault is described in the node (entry word and type) for the caller
// to log. Stateless apart from the text it reads; used by the parser and the encoding sniffer.
#pragma once

enum XmlNodeKind : int {
  kXmlEndTag = 0,
  kXmlStartTag = 1,
  kXmlText = 2,
  kXmlWhiteSpace = 4,
  kXmlCData = 8,
  kXmlProcessingInstruction = 16,
  kXmlComment = 32,
  kXmlDocumentType = 64,
  kXmlError = 255,
  kXmlEndOfText = -2,
};

struct XmlNode {
  int start = 0;
  int length = 0;
  int kind = kXmlEndOfText;
  int nameStart = 0;  // start and end tags: the tag name
  int nameEnd = 0;
  bool empty = false;  // a start tag ending in "/>"
  // Error nodes: the log entry word and, for "unterminated_tag_syntax", the type value.
  const wchar_t* syntaxEntry = nullptr;
  const wchar_t* syntaxType = nullptr;
};

// True for the characters that end a tag name: white space and < > = \ / ? ! " ' ;
bool IsXmlNameEnd(wchar_t c);
bool IsXmlSpace(wchar_t c);
// Offset just past the tag name that begins at from (stops at the end of the text).
int XmlNameEnd(const wchar_t* text, int length, int from);

// Where an attribute lies in a tag. The value is its characters without quotes (the name
// itself for a name without "="); a new value replaces [replaceStart, replaceEnd).
struct XmlAttributeSpot {
  bool found = false;
  bool hasEquals = false;
  int valueStart = 0;
  int valueEnd = 0;
  int replaceStart = 0;
  int replaceEnd = 0;
  int insertAt = 0;  // right after the last token of the tag, for a new attribute
};

// Finds an attribute by exact name in the tag whose name begins at from and whose closing
// ">" is at end. Only an unquoted "/", ">" or "?" where a name belongs ends the search.
XmlAttributeSpot LocateXmlAttribute(const wchar_t* text, int from, int end, const wchar_t* name);

class XmlNodeScanner {
public:
  XmlNodeScanner(const wchar_t* text, int length) : m_text(text), m_length(length) {}
  // Reads the node that begins at offset.
  XmlNode Scan(int offset) const;

private:
  void ScanStartTag(XmlNode& node) const;
  void ScanDocumentType(XmlNode& node) const;
  // Ends the node after the first occurrence of ending at or after from, else unterminated.
  void ScanUntil(XmlNode& node, int from, const wchar_t* ending, int kind, const wchar_t* type) const;
  void Fail(XmlNode& node, const wchar_t* entry, int from) const;
  void Unterminated(XmlNode& node, const wchar_t* type) const;

  const wchar_t* m_text;
  int m_length;
};
