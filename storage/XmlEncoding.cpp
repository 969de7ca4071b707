#include "storage/XmlEncoding.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <string_view>
#include <vector>

#include "storage/XmlNodeScanner.h"

const XmlBom XmlBomTable[3] = {
    {{0xEF, 0xBB, 0xBF}, 3, L"UTF-8", kXmlFlagUtf8Bom, 1},
    {{0xFF, 0xFE, 0x00}, 2, L"UTF-16LE", kXmlFlagUtf16LE, 2},
    {{0xFE, 0xFF, 0x00}, 2, L"UTF-16BE", kXmlFlagUtf16BE, 2},
};

const XmlEncodingName XmlEncodingTable[365] = {
    {L"csptcp154", 154}, {L"cyrillic-asian", 154}, {L"cp154", 154}, {L"pt154", 154}, {L"ptcp154", 154},
    {L"ibm437", 437}, {L"cspc8", 437}, {L"codepage437", 437}, {L"cp437", 437}, {L"cspc8codepage437", 437},
    {L"asmo-708", 708}, {L"dos-720", 720}, {L"ibm737", 737}, {L"cp737", 737}, {L"ibm775", 775},
    {L"ebcdic-cp-be", 775}, {L"ebcdic-cp-ch", 775}, {L"cp500", 775}, {L"csibm500", 775}, {L"cp775", 775},
    {L"cspc775baltic", 775}, {L"ibm850", 850}, {L"cspc850multilingual", 850}, {L"cp850", 850}, {L"ibm852", 852},
    {L"cp852", 852}, {L"cspcp852", 852}, {L"cp853", 853}, {L"ibm855", 855}, {L"cp855", 855}, {L"csibm855", 855},
    {L"ibm857", 857}, {L"cp857", 857}, {L"csibm857", 857}, {L"ccsid00858", 858}, {L"cp00858", 858}, {L"cp858", 858},
    {L"pc-multilingual-850+euro", 858}, {L"ibm00858", 858}, {L"ibm860", 860}, {L"cp860", 860}, {L"csibm860", 860},
    {L"ibm861", 861}, {L"cp-is", 861}, {L"cp861", 861}, {L"csibm861", 861}, {L"ibm862", 862},
    {L"cspc862latinhebrew", 862}, {L"cp862", 862}, {L"dos-862", 862}, {L"ibm863", 863}, {L"cp863", 863},
    {L"csibm863", 863}, {L"ibm864", 864}, {L"cp864", 864}, {L"csibm864", 864}, {L"ibm865", 865}, {L"cp865", 865},
    {L"csibm865", 865}, {L"ibm866", 866}, {L"cp866", 866}, {L"csibm866", 866}, {L"cp-gr", 869}, {L"ibm869", 869},
    {L"cp869", 869}, {L"csibm869", 869}, {L"windows-874", 874}, {L"cp874", 874}, {L"tis-620", 874}, {L"dos-874", 874},
    {L"iso-8859-11", 874}, {L"x-ms-cp932", 932}, {L"shift_jis", 932}, {L"sjis-win", 932}, {L"windows-932", 932},
    {L"cp932", 932}, {L"ms_kanji", 932}, {L"ms932", 932}, {L"sjis-ms", 932}, {L"shifft_jis-ms", 932},
    {L"windows-31j", 932}, {L"cswindows31j", 932}, {L"sjis", 932}, {L"shifft_jis", 932}, {L"shift-jis", 932},
    {L"x-sjis", 932}, {L"sjis-open", 932}, {L"csshiftjis", 932}, {L"gb_2312-80", 936}, {L"gb231280", 936},
    {L"windows-936", 936}, {L"cp936", 936}, {L"csiso58gb231280", 936}, {L"ms936", 936}, {L"gb2312-80", 936},
    {L"gb2312", 936}, {L"csgb231280", 936}, {L"chinese", 936}, {L"iso-ir-58", 936}, {L"cn-gb", 936},
    {L"csgb2312", 936}, {L"gbk", 936}, {L"ksc_5601", 949}, {L"uhc", 949}, {L"korean", 949}, {L"iso-ir-149", 949},
    {L"csksc56011987", 949}, {L"ks_c_5601-1987", 949}, {L"ks_c_5601-1989", 949}, {L"ksc5601", 949}, {L"cp949", 949},
    {L"ks_c_5601", 949}, {L"ks_c_5601_1987", 949}, {L"ks-c5601", 949}, {L"ks-c-5601", 949}, {L"big5-hkscs", 950},
    {L"big5", 950}, {L"cp950", 950}, {L"x-x-big5", 950}, {L"csbig5", 950}, {L"cn-big5", 950}, {L"cp1125", 1125},
    {L"cp1133", 1133}, {L"ibm-cp1133", 1133}, {L"ucs-2le", 1200}, {L"utf-16", 1200}, {L"utf16le", 1200},
    {L"utf-16le", 1200}, {L"cp1200", 1200}, {L"ucs-2", 1200}, {L"unicode", 1200}, {L"utf16", 1200},
    {L"ucs-2be", 1201}, {L"utf16be", 1201}, {L"utf-16be", 1201}, {L"unicodefffe", 1201}, {L"cp1201", 1201},
    {L"ms-ee", 1250}, {L"windows-1250", 1250}, {L"cp1250", 1250}, {L"x-cp1250", 1250}, {L"ms-cyrl", 1251},
    {L"windows-1251", 1251}, {L"cp1251", 1251}, {L"x-cp1251", 1251}, {L"ms-ansi", 1252}, {L"windows-1252", 1252},
    {L"cp1252", 1252}, {L"x-ansi", 1252}, {L"ms-greek", 1253}, {L"windows-1253", 1253}, {L"cp1253", 1253},
    {L"windows-1254", 1254}, {L"ms-turk", 1254}, {L"cp1254", 1254}, {L"ms-hebr", 1255}, {L"windows-1255", 1255},
    {L"cp1255", 1255}, {L"ms-arab", 1256}, {L"windows-1256", 1256}, {L"cp1256", 1256}, {L"cp1256 ", 1256},
    {L"windows-1257", 1257}, {L"cp1257", 1257}, {L"winbaltrim", 1257}, {L"windows-1258", 1258}, {L"cp1258", 1258},
    {L"johab", 1361}, {L"cp1361", 1361}, {L"macintosh", 10000}, {L"csmacintosh", 10000}, {L"mac", 10000},
    {L"x-mac-japanese", 10001}, {L"x-mac-chinesetrad", 10002}, {L"x-mac-korean", 10003}, {L"x-mac-arabic", 10004},
    {L"x-mac-hebrew", 10005}, {L"x-mac-greek", 10006}, {L"x-mac-cyrillic", 10007}, {L"x-mac-chinesesimp", 10008},
    {L"x-mac-romanian", 10010}, {L"x-mac-ukrainian", 10017}, {L"x-mac-thai", 10021}, {L"x-mac-ce", 10029},
    {L"x-mac-icelandic", 10079}, {L"x-mac-turkish", 10081}, {L"x-mac-croatian", 10082}, {L"utf-32", 12000},
    {L"utf32le", 12000}, {L"utf-32le", 12000}, {L"utf32", 12000}, {L"cp12000", 12000}, {L"utf32be", 12001},
    {L"utf-32be", 12001}, {L"cp12001", 12001}, {L"x-chinese-cns", 20000}, {L"x-chinese_cns", 20000},
    {L"x-cp20001", 20001}, {L"x_chinese-eten", 20002}, {L"x-chinese-eten", 20002}, {L"x-cp20003", 20003},
    {L"x-cp20004", 20004}, {L"x-cp20005", 20005}, {L"x-ia5", 20105}, {L"x-ia5-german", 20106},
    {L"x-ia5-swedish", 20107}, {L"x-ia5-norwegian", 20108}, {L"ibm367", 20127}, {L"us-ascii", 20127},
    {L"ascii", 20127}, {L"cp367", 20127}, {L"iso-ir-6", 20127}, {L"us", 20127}, {L"csascii", 20127},
    {L"ansi_x3.4-1968", 20127}, {L"ansi_x3.4-1986", 20127}, {L"iso646-us", 20127}, {L"iso-ir-6us", 20127},
    {L"iso_646.irv:1991", 20127}, {L"x-cp20261", 20261}, {L"x-cp20269", 20269}, {L"koi", 20866}, {L"koi8r", 20866},
    {L"koi8", 20866}, {L"koi8-r", 20866}, {L"cskoi8r", 20866}, {L"cseucpkdfmtjapanese", 20932},
    {L"extended_unix_code_packed_format_for_japanese", 20932}, {L"euc-jp", 20932}, {L"x-cp20936", 20936},
    {L"x-cp20949", 20949}, {L"koi8-ru", 21866}, {L"koi8-u", 21866}, {L"l1", 28591}, {L"ibm819", 28591},
    {L"iso-ir-100", 28591}, {L"iso8859-1", 28591}, {L"csisolatin1", 28591}, {L"cp819", 28591}, {L"iso-8859-1", 28591},
    {L"iso_8859-1:1987", 28591}, {L"latin1", 28591}, {L"iso_8859-1", 28591}, {L"l2", 28592}, {L"iso-ir-101", 28592},
    {L"iso8859-2", 28592}, {L"csisolatin2", 28592}, {L"iso-8859-2", 28592}, {L"iso_8859-2:1987", 28592},
    {L"latin2", 28592}, {L"iso_8859-2", 28592}, {L"l3", 28593}, {L"iso-ir-109", 28593}, {L"iso8859-3", 28593},
    {L"csisolatin3", 28593}, {L"iso-8859-3", 28593}, {L"iso_8859-3:1988", 28593}, {L"latin3", 28593},
    {L"iso_8859-3", 28593}, {L"l4", 28594}, {L"iso-ir-110", 28594}, {L"iso8859-4", 28594}, {L"csisolatin4", 28594},
    {L"iso-8859-4", 28594}, {L"iso_8859-4:1988", 28594}, {L"latin4", 28594}, {L"iso_8859-4", 28594},
    {L"iso-ir-144", 28595}, {L"iso8859-5", 28595}, {L"csisolatin5", 28595}, {L"iso-8859-5", 28595},
    {L"csisolatincyrillic", 28595}, {L"cyrillic", 28595}, {L"iso_8859-5:1988", 28595}, {L"iso_8859-5", 28595},
    {L"iso-ir-127", 28596}, {L"iso8859-6", 28596}, {L"iso-8859-6", 28596}, {L"iso_8859-6:1987", 28596},
    {L"iso_8859-6", 28596}, {L"ecma-114", 28596}, {L"csisolatinarabic", 28596}, {L"arabic", 28596},
    {L"iso-ir-126", 28597}, {L"iso8859-7", 28597}, {L"csisolatingreek", 28597}, {L"greek", 28597},
    {L"elot_928", 28597}, {L"iso-8859-7", 28597}, {L"iso_8859-7:1987", 28597}, {L"greek8", 28597},
    {L"iso_8859-7", 28597}, {L"ecma-118", 28597}, {L"csisolatinhebrew", 28598}, {L"hebrew", 28598},
    {L"iso-ir-138", 28598}, {L"iso8859-8", 28598}, {L"visual", 28598}, {L"iso-8859-8", 28598},
    {L"iso_8859-8:1988", 28598}, {L"iso_8859-8", 28598}, {L"l5", 28599}, {L"iso-ir-148", 28599},
    {L"iso8859-9", 28599}, {L"iso-8859-9", 28599}, {L"iso_8859-9:1989", 28599}, {L"latin5", 28599},
    {L"iso_8859-9", 28599}, {L"iso8859-13", 28603}, {L"iso-8859-13", 28603}, {L"l9", 28605}, {L"latin-9", 28605},
    {L"iso_8859-15", 28605}, {L"iso8859-15", 28605}, {L"iso-8859-15", 28605}, {L"latin9", 28605},
    {L"x-europa", 29001}, {L"iso8859-8-i", 38598}, {L"iso-8859-8-i", 38598}, {L"logical", 38598},
    {L"iso-2022-jp", 50220}, {L"_iso-2022-jp", 50221}, {L"ms50221", 50221}, {L"iso-2022-jp-ms", 50221},
    {L"csiso2022jp", 50221}, {L"iso2022-jp-ms", 50221}, {L"windows-50221", 50221}, {L"cp50221", 50221},
    {L"_iso-2022-jp$sio", 50222}, {L"iso2022-kr", 50225}, {L"csiso2022kr", 50225}, {L"iso-2022-kr", 50225},
    {L"x-cp50227", 50227}, {L"cp51932", 51932}, {L"x-euc", 51932}, {L"ms51932", 51932}, {L"x-euc-jp", 51932},
    {L"windows-51932", 51932}, {L"euc-cn", 51936}, {L"x-euc-cn", 51936}, {L"euc-kr", 51949}, {L"cseuckr", 51949},
    {L"hz-gb-2312", 52936}, {L"iso-4873:1986", 54936}, {L"gb18030", 54936}, {L"x-iscii-de", 57002},
    {L"x-iscii-be", 57003}, {L"x-iscii-ta", 57004}, {L"x-iscii-te", 57005}, {L"x-iscii-as", 57006},
    {L"x-iscii-or", 57007}, {L"x-iscii-ka", 57008}, {L"x-iscii-ma", 57009}, {L"x-iscii-gu", 57010},
    {L"x-iscii-pa", 57011}, {L"unicode-1-1-utf-7", 65000}, {L"x-unicode-2-0-utf-7", 65000},
    {L"csunicode11utf7", 65000}, {L"utf-7", 65000}, {L"unicode-1-1-utf-8", 65001}, {L"unicode-2-0-utf-8", 65001},
    {L"x-unicode-2-0-utf-8", 65001}, {L"utf8", 65001}, {L"utf-8", 65001}, {L"cp65001", 65001},
};

namespace {

constexpr int kBuckets = 155;
constexpr size_t kMaxNameLength = 99;

int Bucket(std::wstring_view name) {
  unsigned sum = 0;
  for (wchar_t c : name) sum += c;
  return static_cast<int>(sum % kBuckets);
}

// The table's names by bucket (character sum modulo 155), built once.
const std::array<std::vector<const XmlEncodingName*>, kBuckets>& Buckets() {
  static const auto buckets = [] {
    std::array<std::vector<const XmlEncodingName*>, kBuckets> b;
    for (const XmlEncodingName& e : XmlEncodingTable) b[Bucket(e.name)].push_back(&e);
    return b;
  }();
  return buckets;
}

int NormalCodePage(const wchar_t* encoding) {
  const int codePage = EncodingToCodePage(encoding);
  if (codePage == 12000) return kXmlCodePageUtf32;  // "utf-32" in lower case means the same
  return codePage < 0 ? CP_ACP : codePage;
}

// Code pages for which WideCharToMultiByte refuses the question whether a default
// character was used.
bool AllowsDefaultCharQuery(int codePage) {
  return !((codePage >= 50220 && codePage <= 50222) || codePage == 50225 || codePage == 50227 || codePage == 50229 ||
           codePage == 52936 || codePage == 54936 || (codePage >= 57002 && codePage <= 57011) || codePage == 65000 ||
           codePage == 65001);
}

bool IsSurrogate(unsigned long c) { return c >= 0xD800 && c <= 0xDFFF; }

// UTF-32 to UTF-16: code points that UTF-16 cannot carry become "?".
int Utf32ToUtf16(const uint32_t* source, int count, wchar_t* target, int room) {
  int produced = 0;
  for (int i = 0; i < count; ++i) {
    const unsigned long c = source[i];
    if (c >= 0x10000 && c <= 0x10FFFF) {
      if (target) {
        if (produced + 2 > room) break;
        target[produced] = static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
        target[produced + 1] = static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
      }
      produced += 2;
      continue;
    }
    if (target) {
      if (produced + 1 > room) break;
      target[produced] = (c > 0x10FFFF || IsSurrogate(c)) ? L'?' : static_cast<wchar_t>(c);
    }
    ++produced;
  }
  return produced;
}

// UTF-16 to UTF-32: pairs are joined, a lone surrogate gives "?".
int Utf16ToUtf32(const wchar_t* source, int count, uint32_t* target, int room) {
  int produced = 0;
  for (int i = 0; i < count; ++i) {
    uint32_t c = source[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count && source[i + 1] >= 0xDC00 && source[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (source[i + 1] - 0xDC00);
      ++i;
    } else if (IsSurrogate(c)) {
      c = L'?';
    }
    if (target) {
      if (produced >= room) break;
      target[produced] = c;
    }
    ++produced;
  }
  return produced;
}

int Utf8ToUtf32(const unsigned char* source, int count, uint32_t* target, int room) {
  int produced = 0;
  const unsigned char* end = source + count;
  while (source < end) {
    const long c = DecodeUtf8Char(source, end);
    if (target) {
      if (produced >= room) break;
      target[produced] = (c < 0 || IsSurrogate(c)) ? '?' : static_cast<uint32_t>(c);
    }
    ++produced;
  }
  return produced;
}

int Utf32ToUtf8(const uint32_t* source, int count, unsigned char* target, int room) {
  int produced = 0;
  for (int i = 0; i < count; ++i) {
    const unsigned long c = (source[i] > 0x10FFFF || IsSurrogate(source[i])) ? '?' : source[i];
    const int length = EncodeUtf8Char(c, nullptr, 0);
    if (target) {
      if (produced + length > room) break;
      EncodeUtf8Char(c, target, produced);
    }
    produced += length;
  }
  return produced;
}

// Any encoding to UTF-16.
std::wstring ToUtf16(int codePage, const void* source, int count) {
  if (codePage == 1200) return std::wstring(static_cast<const wchar_t*>(source), count);
  std::wstring out;
  if (codePage == kXmlCodePageUtf32) {
    out.resize(Utf32ToUtf16(static_cast<const uint32_t*>(source), count, nullptr, 0));
    Utf32ToUtf16(static_cast<const uint32_t*>(source), count, &out[0], static_cast<int>(out.size()));
    return out;
  }
  const char* bytes = static_cast<const char*>(source);
  const int length = MultiByteToWideChar(codePage, 0, bytes, count, nullptr, 0);
  if (length <= 0) return out;
  out.resize(length);
  out.resize(std::max(0, MultiByteToWideChar(codePage, 0, bytes, count, &out[0], length)));
  return out;
}

// UTF-16 to any encoding.
int FromUtf16(int codePage, const wchar_t* source, int count, void* target, int room, bool* loss) {
  if (codePage == 1200) {
    if (target) std::wmemcpy(static_cast<wchar_t*>(target), source, std::min(count, room));
    return target ? std::min(count, room) : count;
  }
  if (codePage == kXmlCodePageUtf32) return Utf16ToUtf32(source, count, static_cast<uint32_t*>(target), room);
  BOOL usedDefault = FALSE;
  const int produced = WideCharToMultiByte(codePage, 0, source, count, static_cast<char*>(target), target ? room : 0,
                                           nullptr, AllowsDefaultCharQuery(codePage) ? &usedDefault : nullptr);
  if (usedDefault && loss) *loss = true;
  return std::max(0, produced);
}

}  // namespace

int EncodingToCodePage(const wchar_t* name) {
  if (!name || !*name) return CP_ACP;
  if (std::wcsncmp(name, L"UTF-32", 6) == 0) return kXmlCodePageUtf32;
  std::wstring lower(name);
  if (lower.size() > kMaxNameLength) return -1;
  for (wchar_t& c : lower)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  for (const XmlEncodingName* e : Buckets()[Bucket(lower)])
    if (lower == e->name) return e->codePage;
  return -1;
}

int XmlEncodingUnitSize(const wchar_t* encoding) {
  const int codePage = NormalCodePage(encoding);
  return codePage == 1200 ? 2 : codePage == kXmlCodePageUtf32 ? 4 : 1;
}

int XmlTextConverter(const wchar_t* sourceEncoding, const void* source, int sourceUnits,
                     const wchar_t* targetEncoding, void* target, int targetRoom, bool* loss) {
  if (!source || sourceUnits <= 0) return 0;
  const int from = NormalCodePage(sourceEncoding);
  const int to = NormalCodePage(targetEncoding);
  if (from == CP_UTF8 && to == kXmlCodePageUtf32)
    return Utf8ToUtf32(static_cast<const unsigned char*>(source), sourceUnits, static_cast<uint32_t*>(target),
                       targetRoom);
  if (from == kXmlCodePageUtf32 && to == CP_UTF8)
    return Utf32ToUtf8(static_cast<const uint32_t*>(source), sourceUnits, static_cast<unsigned char*>(target),
                       targetRoom);
  if (from == 1200) return FromUtf16(to, static_cast<const wchar_t*>(source), sourceUnits, target, targetRoom, loss);
  if (to == 1200 && from != kXmlCodePageUtf32) {
    return std::max(0, MultiByteToWideChar(from, 0, static_cast<const char*>(source), sourceUnits,
                                           static_cast<wchar_t*>(target), target ? targetRoom : 0));
  }
  const std::wstring wide = ToUtf16(from, source, sourceUnits);
  return FromUtf16(to, wide.data(), static_cast<int>(wide.size()), target, targetRoom, loss);
}

std::wstring SniffEncoding(const wchar_t* text, int length) {
  XmlNodeScanner scanner(text, length);
  bool html = false;
  for (int offset = 0;;) {
    const XmlNode node = scanner.Scan(offset);
    if (node.kind == kXmlEndOfText || node.kind == kXmlError) return L"";
    const int close = node.start + node.length - 1;
    if (node.kind == kXmlProcessingInstruction && node.start == 0) {
      const int targetEnd = XmlNameEnd(text, close, 2);
      if (std::wstring_view(text + 2, targetEnd - 2) == L"xml") {
        const XmlAttributeSpot spot = LocateXmlAttribute(text, 2, close, L"encoding");
        return spot.found ? std::wstring(text + spot.valueStart, spot.valueEnd - spot.valueStart) : L"";
      }
    } else if (node.kind == kXmlStartTag) {
      const std::wstring_view name(text + node.nameStart, node.nameEnd - node.nameStart);
      if (!html && name != L"html") return L"";
      html = true;
      if (name == L"meta") {
        const XmlAttributeSpot equiv = LocateXmlAttribute(text, node.start + 1, close, L"http-equiv");
        const XmlAttributeSpot content = LocateXmlAttribute(text, node.start + 1, close, L"content");
        if (equiv.found && content.found &&
            std::wstring_view(text + equiv.valueStart, equiv.valueEnd - equiv.valueStart) == L"Content-Type") {
          const std::wstring value(text + content.valueStart, content.valueEnd - content.valueStart);
          for (size_t at = value.find(L"charset"); at != std::wstring::npos; at = value.find(L"charset", at + 1)) {
            size_t i = value.find_first_not_of(L" \t\r\n", at + 7);
            if (i == std::wstring::npos || value[i] != L'=') continue;
            i = value.find_first_not_of(L" \t\r\n", i + 1);
            if (i == std::wstring::npos) break;
            return value.substr(i, value.find_first_of(L" \t\r\n;,\"'", i) - i);
          }
        }
      }
    } else if (node.kind == kXmlEndTag &&
               std::wstring_view(text + node.nameStart, node.nameEnd - node.nameStart) == L"head") {
      return L"";
    }
    offset += node.length;
  }
}

long DecodeUtf8Char(const unsigned char*& pos, const unsigned char* end) {
  const unsigned char lead = *pos++;
  if (lead < 0x80) return lead;
  if (lead >= 0xF8) return -1;
  int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
  long c = lead & (lead >= 0xF0 ? 0x07 : lead >= 0xE0 ? 0x0F : 0x1F);
  for (; more > 0; --more) {
    if (pos == end || *pos < 0x80) return -1;  // the next character is not taken
    c = (c << 6) | (*pos++ & 0x3F);
  }
  return c > 0x10FFFF ? -1 : c;
}

bool IsValidUtf8(const unsigned char* bytes, size_t length, bool* cutOff) {
  if (cutOff) *cutOff = false;
  const unsigned char* end = bytes + length;
  for (const unsigned char* p = bytes; p < end && *p != 0;) {
    const unsigned char* sequence = p;
    if (DecodeUtf8Char(p, end) >= 0) continue;
    if (cutOff) {
      // Cut off: every byte up to the end belonged to the sequence and it wanted more.
      const int wanted = *sequence >= 0xF8 ? 0 : *sequence >= 0xF0 ? 4 : *sequence >= 0xE0 ? 3 : 2;
      *cutOff = p == end && end - sequence < wanted;
    }
    return false;
  }
  return true;
}

int EncodeUtf8Char(unsigned long codePoint, unsigned char* buffer, int position) {
  unsigned char bytes[4];
  int length;
  if (codePoint < 0x80) {
    bytes[0] = static_cast<unsigned char>(codePoint);
    length = 1;
  } else if (codePoint < 0x800) {
    bytes[0] = static_cast<unsigned char>(0xC0 | (codePoint >> 6));
    bytes[1] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
    length = 2;
  } else if (codePoint < 0x10000) {
    bytes[0] = static_cast<unsigned char>(0xE0 | (codePoint >> 12));
    bytes[1] = static_cast<unsigned char>(0x80 | ((codePoint >> 6) & 0x3F));
    bytes[2] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
    length = 3;
  } else {
    bytes[0] = static_cast<unsigned char>(0xF0 | ((codePoint >> 18) & 0x07));
    bytes[1] = static_cast<unsigned char>(0x80 | ((codePoint >> 12) & 0x3F));
    bytes[2] = static_cast<unsigned char>(0x80 | ((codePoint >> 6) & 0x3F));
    bytes[3] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
    length = 4;
  }
  if (buffer) std::memcpy(buffer + position, bytes, length);
  return length;
}
