// Encodings of XML files: byte-order marks, encoding names and their code pages, the
// conversions between UTF-16 and a file's encoding, UTF-8 helpers, and the one-byte mask
// with which profile files are scrambled. Plain functions over bytes and strings; the
// code-page conversions use the platform's MultiByteToWideChar / WideCharToMultiByte.
#pragma once

#include <string>

// Every byte of a scrambled file is the plain byte XOR this mask (the same operation unscrambles).
constexpr unsigned char XmlScrambleMask = 0x9B;

// Encoding flags of a document: the form of the file it was read from, kept for writing it back.
enum XmlEncodingFlag : int {
  kXmlFlagUtf8Bom = 0x1,
  kXmlFlagUtf16LE = 0x2,
  kXmlFlagUtf16BE = 0x4,
};

struct XmlBom {
  unsigned char bytes[3];
  int length;
  const wchar_t* encoding;
  int flag;
  int unitSize;
};
extern const XmlBom XmlBomTable[3];

struct XmlEncodingName {
  const wchar_t* name;  // lower case
  int codePage;
};
extern const XmlEncodingName XmlEncodingTable[365];

// The converter's own code page number for UTF-32 (code points in 32-bit units).
constexpr int kXmlCodePageUtf32 = 65005;

// 0 (the ANSI code page) for an empty name, kXmlCodePageUtf32 for names beginning "UTF-32",
// else the code page of the name ignoring the case of A to Z, or -1 when unknown or when
// the name has 100 or more characters.
int EncodingToCodePage(const wchar_t* name);

// Converts sourceUnits units (bytes, UTF-16 units or UTF-32 units, by encoding) from one
// encoding to another into target, which has room for targetRoom units; a null target
// only measures. Returns the units produced (0 on failure). *loss is set when a character
// had no equivalent and was replaced. Code points that UTF-16 cannot carry become "?".
int XmlTextConverter(const wchar_t* sourceEncoding, const void* source, int sourceUnits,
                     const wchar_t* targetEncoding, void* target, int targetRoom, bool* loss);
// Bytes per unit of an encoding as the converter counts them: 2 for UTF-16, 4 for UTF-32, else 1.
int XmlEncodingUnitSize(const wchar_t* encoding);

// The encoding named at the start of an XML text (its declaration), or in the
// Content-Type meta element of an HTML head; empty when none is named.
std::wstring SniffEncoding(const wchar_t* text, int length);

// True when the bytes (up to the first zero byte) are UTF-8; *cutOff tells whether the
// failing sequence was cut off by the end of the buffer.
bool IsValidUtf8(const unsigned char* bytes, size_t length, bool* cutOff = nullptr);
// Decodes the sequence at pos and moves pos past it: the code point, or -1 for a broken
// sequence or one above 0x10FFFF.
long DecodeUtf8Char(const unsigned char*& pos, const unsigned char* end);
// Writes (buffer not null) or counts the 1 to 4 bytes of a code point at buffer + position.
int EncodeUtf8Char(unsigned long codePoint, unsigned char* buffer, int position);
