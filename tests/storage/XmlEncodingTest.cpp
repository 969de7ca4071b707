#include "storage/XmlEncoding.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace {

// Every encoding name the program knows, by code page ("|"-separated).
const struct {
  int codePage;
  const wchar_t* names;
} kEncodingNames[] = {
    {154, L"csptcp154|cyrillic-asian|cp154|pt154|ptcp154"},
    {437, L"ibm437|cspc8|codepage437|cp437|cspc8codepage437"},
    {708, L"asmo-708"},
    {720, L"dos-720"},
    {737, L"ibm737|cp737"},
    {775, L"ibm775|ebcdic-cp-be|ebcdic-cp-ch|cp500|csibm500|cp775|cspc775baltic"},
    {850, L"ibm850|cspc850multilingual|cp850"},
    {852, L"ibm852|cp852|cspcp852"},
    {853, L"cp853"},
    {855, L"ibm855|cp855|csibm855"},
    {857, L"ibm857|cp857|csibm857"},
    {858, L"ccsid00858|cp00858|cp858|pc-multilingual-850+euro|ibm00858"},
    {860, L"ibm860|cp860|csibm860"},
    {861, L"ibm861|cp-is|cp861|csibm861"},
    {862, L"ibm862|cspc862latinhebrew|cp862|dos-862"},
    {863, L"ibm863|cp863|csibm863"},
    {864, L"ibm864|cp864|csibm864"},
    {865, L"ibm865|cp865|csibm865"},
    {866, L"ibm866|cp866|csibm866"},
    {869, L"cp-gr|ibm869|cp869|csibm869"},
    {874, L"windows-874|cp874|tis-620|dos-874|iso-8859-11"},
    {932, L"x-ms-cp932|shift_jis|sjis-win|windows-932|cp932|ms_kanji|ms932|sjis-ms|shifft_jis-ms"
     L"|windows-31j|cswindows31j|sjis|shifft_jis|shift-jis|x-sjis|sjis-open|csshiftjis"},
    {936, L"gb_2312-80|gb231280|windows-936|cp936|csiso58gb231280|ms936|gb2312-80|gb2312|csgb231280"
     L"|chinese|iso-ir-58|cn-gb|csgb2312|gbk"},
    {949, L"ksc_5601|uhc|korean|iso-ir-149|csksc56011987|ks_c_5601-1987|ks_c_5601-1989|ksc5601|cp949"
     L"|ks_c_5601|ks_c_5601_1987|ks-c5601|ks-c-5601"},
    {950, L"big5-hkscs|big5|cp950|x-x-big5|csbig5|cn-big5"},
    {1125, L"cp1125"},
    {1133, L"cp1133|ibm-cp1133"},
    {1200, L"ucs-2le|utf-16|utf16le|utf-16le|cp1200|ucs-2|unicode|utf16"},
    {1201, L"ucs-2be|utf16be|utf-16be|unicodefffe|cp1201"},
    {1250, L"ms-ee|windows-1250|cp1250|x-cp1250"},
    {1251, L"ms-cyrl|windows-1251|cp1251|x-cp1251"},
    {1252, L"ms-ansi|windows-1252|cp1252|x-ansi"},
    {1253, L"ms-greek|windows-1253|cp1253"},
    {1254, L"windows-1254|ms-turk|cp1254"},
    {1255, L"ms-hebr|windows-1255|cp1255"},
    {1256, L"ms-arab|windows-1256|cp1256|cp1256 "},
    {1257, L"windows-1257|cp1257|winbaltrim"},
    {1258, L"windows-1258|cp1258"},
    {1361, L"johab|cp1361"},
    {10000, L"macintosh|csmacintosh|mac"},
    {10001, L"x-mac-japanese"},
    {10002, L"x-mac-chinesetrad"},
    {10003, L"x-mac-korean"},
    {10004, L"x-mac-arabic"},
    {10005, L"x-mac-hebrew"},
    {10006, L"x-mac-greek"},
    {10007, L"x-mac-cyrillic"},
    {10008, L"x-mac-chinesesimp"},
    {10010, L"x-mac-romanian"},
    {10017, L"x-mac-ukrainian"},
    {10021, L"x-mac-thai"},
    {10029, L"x-mac-ce"},
    {10079, L"x-mac-icelandic"},
    {10081, L"x-mac-turkish"},
    {10082, L"x-mac-croatian"},
    {12000, L"utf-32|utf32le|utf-32le|utf32|cp12000"},
    {12001, L"utf32be|utf-32be|cp12001"},
    {20000, L"x-chinese-cns|x-chinese_cns"},
    {20001, L"x-cp20001"},
    {20002, L"x_chinese-eten|x-chinese-eten"},
    {20003, L"x-cp20003"},
    {20004, L"x-cp20004"},
    {20005, L"x-cp20005"},
    {20105, L"x-ia5"},
    {20106, L"x-ia5-german"},
    {20107, L"x-ia5-swedish"},
    {20108, L"x-ia5-norwegian"},
    {20127, L"ibm367|us-ascii|ascii|cp367|iso-ir-6|us|csascii|ansi_x3.4-1968|ansi_x3.4-1986|iso646-us"
     L"|iso-ir-6us|iso_646.irv:1991"},
    {20261, L"x-cp20261"},
    {20269, L"x-cp20269"},
    {20866, L"koi|koi8r|koi8|koi8-r|cskoi8r"},
    {20932, L"cseucpkdfmtjapanese|extended_unix_code_packed_format_for_japanese|euc-jp"},
    {20936, L"x-cp20936"},
    {20949, L"x-cp20949"},
    {21866, L"koi8-ru|koi8-u"},
    {28591, L"l1|ibm819|iso-ir-100|iso8859-1|csisolatin1|cp819|iso-8859-1|iso_8859-1:1987|latin1|iso_8859-1"},
    {28592, L"l2|iso-ir-101|iso8859-2|csisolatin2|iso-8859-2|iso_8859-2:1987|latin2|iso_8859-2"},
    {28593, L"l3|iso-ir-109|iso8859-3|csisolatin3|iso-8859-3|iso_8859-3:1988|latin3|iso_8859-3"},
    {28594, L"l4|iso-ir-110|iso8859-4|csisolatin4|iso-8859-4|iso_8859-4:1988|latin4|iso_8859-4"},
    {28595, L"iso-ir-144|iso8859-5|csisolatin5|iso-8859-5|csisolatincyrillic|cyrillic|iso_8859-5:1988|iso_8859-5"},
    {28596, L"iso-ir-127|iso8859-6|iso-8859-6|iso_8859-6:1987|iso_8859-6|ecma-114|csisolatinarabic|arabic"},
    {28597, L"iso-ir-126|iso8859-7|csisolatingreek|greek|elot_928|iso-8859-7|iso_8859-7:1987|greek8"
     L"|iso_8859-7|ecma-118"},
    {28598, L"csisolatinhebrew|hebrew|iso-ir-138|iso8859-8|visual|iso-8859-8|iso_8859-8:1988|iso_8859-8"},
    {28599, L"l5|iso-ir-148|iso8859-9|iso-8859-9|iso_8859-9:1989|latin5|iso_8859-9"},
    {28603, L"iso8859-13|iso-8859-13"},
    {28605, L"l9|latin-9|iso_8859-15|iso8859-15|iso-8859-15|latin9"},
    {29001, L"x-europa"},
    {38598, L"iso8859-8-i|iso-8859-8-i|logical"},
    {50220, L"iso-2022-jp"},
    {50221, L"_iso-2022-jp|ms50221|iso-2022-jp-ms|csiso2022jp|iso2022-jp-ms|windows-50221|cp50221"},
    {50222, L"_iso-2022-jp$sio"},
    {50225, L"iso2022-kr|csiso2022kr|iso-2022-kr"},
    {50227, L"x-cp50227"},
    {51932, L"cp51932|x-euc|ms51932|x-euc-jp|windows-51932"},
    {51936, L"euc-cn|x-euc-cn"},
    {51949, L"euc-kr|cseuckr"},
    {52936, L"hz-gb-2312"},
    {54936, L"iso-4873:1986|gb18030"},
    {57002, L"x-iscii-de"},
    {57003, L"x-iscii-be"},
    {57004, L"x-iscii-ta"},
    {57005, L"x-iscii-te"},
    {57006, L"x-iscii-as"},
    {57007, L"x-iscii-or"},
    {57008, L"x-iscii-ka"},
    {57009, L"x-iscii-ma"},
    {57010, L"x-iscii-gu"},
    {57011, L"x-iscii-pa"},
    {65000, L"unicode-1-1-utf-7|x-unicode-2-0-utf-7|csunicode11utf7|utf-7"},
    {65001, L"unicode-1-1-utf-8|unicode-2-0-utf-8|x-unicode-2-0-utf-8|utf8|utf-8|cp65001"},
};

TEST(XmlEncodingTest, EveryEncodingNameMapsToItsCodePage) {
  int names = 0;
  std::set<int> codePages;
  for (const auto& group : kEncodingNames) {
    codePages.insert(group.codePage);
    std::wstring list = group.names;
    for (size_t at = 0; at <= list.size();) {
      const size_t bar = std::min(list.find(L'|', at), list.size());
      const std::wstring name = list.substr(at, bar - at);
      EXPECT_EQ(group.codePage, EncodingToCodePage(name.c_str())) << std::string(name.begin(), name.end());
      ++names;
      at = bar + 1;
    }
  }
  EXPECT_EQ(365, names);
  EXPECT_EQ(110u, codePages.size());
}

TEST(XmlEncodingTest, EncodingNamesFollowTheirRules) {
  const std::wstring hundred(100, L'a');
  const struct {
    const wchar_t* name;
    int codePage;
  } cases[] = {
      {L"WINDOWS-1252", 1252}, {L"Shift_JIS", 932}, {L"UTF-8", 65001}, {L"ISO-8859-1", 28591},
      {L"UTF-32", kXmlCodePageUtf32}, {L"UTF-32BE", kXmlCodePageUtf32}, {L"UTF-32anything", kXmlCodePageUtf32},
      {L"utf-32", 12000}, {L"Utf-32be", 12001}, {L"", 0}, {nullptr, 0}, {L"no-such-encoding", -1},
      {hundred.c_str(), -1}, {L"cp1256 ", 1256}, {L"cp1256", 1256}, {L"cp1252 ", -1}, {L" cp1252", -1},
      {L"\u00c4scii", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(c.codePage, EncodingToCodePage(c.name)) << (c.name ? c.name : L"(null)");
}

TEST(XmlEncodingTest, DecodesUtf8Sequences) {
  const struct {
    const char* name;
    std::string bytes;
    long first;  // DecodeUtf8Char of the first sequence
    size_t taken;  // bytes it moves past
    bool valid;
    bool cutOff;
  } cases[] = {
      {"one byte", "A", 'A', 1, true, false},
      {"two bytes", "\xC3\xA9", 0xE9, 2, true, false},
      {"three bytes", "\xE2\x82\xAC", 0x20AC, 3, true, false},
      {"four bytes", "\xF0\x9F\x98\x80", 0x1F600, 4, true, false},
      {"the highest code point", "\xF4\x8F\xBF\xBF", 0x10FFFF, 4, true, false},
      {"truncated at the end", std::string("\xE2\x82"), -1, 2, false, true},
      {"missing continuation", "\xE2\x41\x42", -1, 1, false, false},
      {"lead byte 0xF8", "\xF8\x80\x80\x80", -1, 1, false, false},
      {"byte 0xFF", "\xFF", -1, 1, false, false},
      {"lead byte 0xF5, beyond 0x10FFFF", "\xF5\x80\x80\x80", -1, 4, false, false},
      {"four bytes beyond 0x10FFFF", "\xF4\x90\x80\x80", -1, 4, false, false},
      {"a zero byte ends the test", std::string("A\0\xFF", 3), 'A', 1, true, false},
      {"zero byte", std::string("\0", 1), 0, 1, true, false},
  };
  for (const auto& c : cases) {
    const unsigned char* data = reinterpret_cast<const unsigned char*>(c.bytes.data());
    const unsigned char* pos = data;
    EXPECT_EQ(c.first, DecodeUtf8Char(pos, data + c.bytes.size())) << c.name;
    EXPECT_EQ(c.taken, static_cast<size_t>(pos - data)) << c.name;
    bool cutOff = !c.cutOff;
    EXPECT_EQ(c.valid, IsValidUtf8(data, c.bytes.size(), &cutOff)) << c.name;
    EXPECT_EQ(c.cutOff, cutOff) << c.name;
  }
}

TEST(XmlEncodingTest, Utf8EncodeDecodeRoundTripsEveryCodePoint) {
  unsigned char buffer[4];
  for (unsigned long c = 0; c <= 0x10FFFF; ++c) {
    const int length = EncodeUtf8Char(c, buffer, 0);
    ASSERT_EQ(length, EncodeUtf8Char(c, nullptr, 0));
    ASSERT_EQ(c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4, length) << c;
    const unsigned char* pos = buffer;
    ASSERT_EQ(static_cast<long>(c), DecodeUtf8Char(pos, buffer + length)) << c;
    ASSERT_EQ(buffer + length, pos) << c;
  }
}

template <typename Unit>
std::vector<Unit> Convert(const wchar_t* from, const void* source, int units, const wchar_t* to, bool* loss) {
  const int measured = XmlTextConverter(from, source, units, to, nullptr, 0, loss);
  std::vector<Unit> out(measured);
  if (measured > 0) out.resize(XmlTextConverter(from, source, units, to, out.data(), measured, loss));
  return out;
}

TEST(XmlEncodingTest, ConvertsBetweenEncodings) {
  bool loss = false;
  const std::wstring pairAndLone = L"A\U0001F600\xD800z";
  EXPECT_EQ((std::vector<uint32_t>{'A', 0x1F600, '?', 'z'}),
            Convert<uint32_t>(L"UTF-16", pairAndLone.data(), 4 + 1, L"UTF-32", &loss));
  const uint32_t points[] = {'A', 0x1F600, 0x110000, 0xDC00, 0xE9};
  EXPECT_EQ((std::vector<wchar_t>{L'A', 0xD83D, 0xDE00, L'?', L'?', 0xE9}),
            Convert<wchar_t>(L"UTF-32", points, 5, L"UTF-16", &loss));
  EXPECT_EQ(std::vector<unsigned char>({'A', 0xF0, 0x9F, 0x98, 0x80, '?', '?', 0xC3, 0xA9}),
            Convert<unsigned char>(L"UTF-32", points, 5, L"UTF-8", &loss));
  const char utf8[] = "A\xF5\x80\x80\x80\xC3\xA9\xE2\x41";
  EXPECT_EQ((std::vector<uint32_t>{'A', '?', 0xE9, '?', 'A'}),
            Convert<uint32_t>(L"UTF-8", utf8, 9, L"UTF-32", &loss));
  EXPECT_FALSE(loss);

  const char ansi[] = "caf\xE9 \x80";
  EXPECT_EQ((std::vector<wchar_t>{L'c', L'a', L'f', 0xE9, L' ', 0x20AC}),
            Convert<wchar_t>(L"windows-1252", ansi, 6, L"UTF-16", &loss));
  EXPECT_EQ(std::vector<unsigned char>({'c', 'a', 'f', 0xC3, 0xA9, ' ', 0xE2, 0x82, 0xAC}),
            Convert<unsigned char>(L"windows-1252", ansi, 6, L"utf-8", &loss));
  EXPECT_FALSE(loss);
  const std::wstring notInLatin = L"a\u30A2b";
  EXPECT_EQ(std::vector<unsigned char>({'a', '?', 'b'}),
            Convert<unsigned char>(L"UTF-16", notInLatin.data(), 3, L"windows-1252", &loss));
  EXPECT_TRUE(loss);
  EXPECT_EQ(0, XmlTextConverter(L"UTF-8", "", 0, L"UTF-16", nullptr, 0, nullptr));
}

TEST(XmlEncodingTest, SniffsTheDeclaredEncoding) {
  const struct {
    const wchar_t* text;
    const wchar_t* encoding;
  } cases[] = {
      {L"<?xml version=\"1.0\" encoding=\"windows-1252\"?><a/>", L"windows-1252"},
      {L"<?xml version='1.0' encoding='KOI8-R' standalone='yes'?>", L"KOI8-R"},
      {L"<?xml version=\"1.0\"?><a/>", L""},
      {L" <?xml encoding=\"latin1\"?>", L""},
      {L"<?xml-stylesheet href=\"a\"?><?xml encoding=\"latin1\"?><a/>", L""},
      {L"<a/><?xml encoding=\"latin1\"?>", L""},
      {L"<html><head><title>t</title><meta http-equiv=\"Content-Type\" content=\"text/html; charset=koi8-r\">"
       L"</head></html>", L"koi8-r"},
      {L"<html><head><meta http-equiv=\"content-type\" content=\"text/html; charset=koi8-r\"></head>", L""},
      {L"<html><head></head><meta http-equiv=\"Content-Type\" content=\"charset=koi8-r\">", L""},
      {L"<html><meta http-equiv=\"Content-Type\" content=\"text/html;charset = big5\">", L"big5"},
      {L"<body><meta http-equiv=\"Content-Type\" content=\"charset=big5\">", L""},
      {L"", L""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(std::wstring(c.encoding), SniffEncoding(c.text, static_cast<int>(std::wcslen(c.text)))) << c.text;
}

}  // namespace
