#include "storage/XmlDocument.h"
#include "storage/XmlMarkup.h"

#include <gtest/gtest.h>

#include <string>

namespace {

CString Read(const wchar_t* text, const wchar_t* name) {
  XmlDocument doc(text);
  doc.NextElement(nullptr);
  return doc.GetAttribute(name);
}

TEST(XmlAttributeTest, ReadsValuesInEveryForm) {
  const struct {
    const wchar_t* text;
    const wchar_t* name;
    const wchar_t* value;
  } cases[] = {
      {L"<a b=\"x y\"/>", L"b", L"x y"},
      {L"<a b='q\"q'/>", L"b", L"q\"q"},
      {L"<a b=plain c='2'/>", L"b", L"plain"},
      {L"<a b=x/>", L"b", L"x/"},  // an unquoted value runs up to white space or ">"
      {L"<a b = \"spaced\"/>", L"b", L"spaced"},
      {L"<a flag other=\"1\"/>", L"flag", L"flag"},
      {L"<a flag other=\"1\"/>", L"other", L"1"},
      {L"<a b=\"1\" b=\"2\"/>", L"b", L"1"},
      {L"<a B=\"1\"/>", L"b", L""},
      {L"<a bb=\"1\"/>", L"b", L""},
      {L"<a b=\"1\"/>", L"a", L""},  // the tag name is no attribute
      {L"<a x=\"/\" b=\"1\"/>", L"b", L"1"},
      {L"<a x=\"?\" y=\">\" b=\"1\"/>", L"b", L"1"},
      {L"<item desc=\"/?\" type=\"1\" value=\"2\" delay_time=\"3\"/>", L"delay_time", L"3"},
      {L"<a b=\"1\" / c=\"2\">", L"c", L""},  // an unquoted "/" where a name belongs ends the search
      {L"<a b=\"&amp; &lt; &#65; &#x41; &#X41; &eacute; &apos; &quot;&gt;\"/>", L"b", L"& < A A A \u00e9 ' \">"},
      {L"<a b=\"&bogus; &#0; a & b &amp &#; &#x; &#12a;\"/>", L"b", L"&bogus; &#0; a & b &amp &#; &#x; &#12a;"},
      {L"<a b=\"&#x1F600;\"/>", L"b", L"\U0001F600"},
      {L"<a b=\"&#x10FFFF;|&#x110000;|&#xD800;|&#99999999;\"/>", L"b", L"\U0010FFFF|&#x110000;|&#xD800;|&#99999999;"},
      {L"<a b=\"&thetasym;&#0000065;&#00000065;\"/>", L"b", L"\u03d1A&#00000065;"},
      {L"<a b=\"&Alpha;&alpha;&euro;&yuml;&nbsp;\"/>", L"b", L"\u0391\u03b1\u20ac\u00ff\u00a0"},
  };
  for (const auto& c : cases) EXPECT_STREQ(c.value, Read(c.text, c.name)) << c.text << " " << c.name;
}

TEST(XmlAttributeTest, EntityTableIsSortedAndComplete) {
  for (size_t i = 1; i < sizeof(XmlEntityTable) / sizeof(XmlEntityTable[0]); ++i)
    EXPECT_LT(std::wstring(XmlEntityTable[i - 1].name), std::wstring(XmlEntityTable[i].name));
  // Every entry decodes through its name.
  for (const XmlEntity& e : XmlEntityTable) {
    const std::wstring reference = L"&" + std::wstring(e.name) + L";";
    EXPECT_EQ(std::wstring(1, static_cast<wchar_t>(e.codePoint)), UnescapeMarkup(reference.data(), reference.size()))
        << e.name;
  }
}

struct WriteCase {
  const wchar_t* text;
  const wchar_t* name;
  const wchar_t* value;
  const wchar_t* expected;
};

TEST(XmlAttributeTest, WritesOnlyWhatChanges) {
  const WriteCase cases[] = {
      {L"<a x='old' y=\"2\"/>", L"x", L"new", L"<a x=\"new\" y=\"2\"/>"},
      {L"<a x=old y=\"2\"/>", L"x", L"", L"<a x=\"\" y=\"2\"/>"},
      {L"<a flag/>", L"flag", L"1", L"<a flag=\"1\"/>"},
      {L"<a/>", L"n", L"v", L"<a n=\"v\"/>"},
      {L"<a b=\"1\" />", L"n", L"v", L"<a b=\"1\" n=\"v\" />"},
      {L"<a b=\"1\"></a>", L"n", L"v", L"<a b=\"1\" n=\"v\"></a>"},
      {L"<item desc=\"/?\" type=\"1\"/>", L"value", L"2", L"<item desc=\"/?\" type=\"1\" value=\"2\"/>"},
      {L"<a v=\"x\"/>", L"v", L"<&>'\"", L"<a v=\"&lt;&amp;&gt;&apos;&quot;\"/>"},
  };
  for (const WriteCase& c : cases) {
    XmlDocument doc(c.text);
    ASSERT_TRUE(doc.NextElement(nullptr)) << c.text;
    EXPECT_TRUE(doc.WriteAttributeAt(doc.GetElementPosition(), c.name, c.value)) << c.text;
    EXPECT_EQ(std::wstring(c.expected), doc.GetText()) << c.text;
    EXPECT_STREQ(c.value, doc.GetAttribute(c.name)) << c.text;
    const XmlElementRecord& r = doc.GetIndex()[1];
    EXPECT_EQ(static_cast<int>(doc.GetText().find(L'>') + 1), r.startTagLength) << c.text;
    EXPECT_EQ(static_cast<int>(doc.GetText().size()), r.length) << c.text;
  }
}

TEST(XmlAttributeTest, ValuesBeginningWithMarkupCharactersRoundTrip) {
  XmlDocument doc;
  ASSERT_TRUE(doc.AppendElement(L"item"));
  const wchar_t* names[] = {L"desc", L"type", L"value", L"delay_time"};
  const wchar_t* values[] = {L"/?", L"?", L">", L"/"};
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(doc.WriteAttributeAt(doc.GetElementPosition(), names[i], values[i]));
  EXPECT_EQ(L"<item desc=\"/?\" type=\"?\" value=\"&gt;\" delay_time=\"/\"/>\r\n", doc.GetText());
  XmlDocument back(doc.GetText().c_str());
  ASSERT_TRUE(back.NextElement(L"item"));
  for (int i = 0; i < 4; ++i) EXPECT_STREQ(values[i], back.GetAttribute(names[i])) << i;
}

TEST(XmlAttributeTest, WritingNeedsACurrentElement) {
  const std::wstring text = L"<r a=\"1\"><c/></r>";
  XmlDocument doc(text.c_str());
  EXPECT_FALSE(doc.WriteAttributeAt(1, L"a", L"2"));  // no current element yet
  EXPECT_FALSE(doc.SetAttribute(L"a", 2));
  EXPECT_STREQ(L"", doc.ReadAttributeAt(1, L"a"));
  ASSERT_TRUE(doc.NextElement(L"r"));
  for (int bad : {0, -1, 3, 1 << 20}) {
    EXPECT_FALSE(doc.WriteAttributeAt(bad, L"a", L"2")) << bad;
    EXPECT_STREQ(L"", doc.ReadAttributeAt(bad, L"a")) << bad;
  }
  EXPECT_FALSE(doc.WriteAttributeAt(1, L"", L"2"));
  EXPECT_FALSE(doc.WriteAttributeAt(1, nullptr, L"2"));
  EXPECT_EQ(text, doc.GetText());
  EXPECT_TRUE(doc.SetAttribute(L"a", -17));
  EXPECT_STREQ(L"-17", doc.ReadAttributeAt(1, L"a"));
  EXPECT_TRUE(doc.WriteAttributeAt(2, L"z", L"on the child"));
  EXPECT_EQ(L"<r a=\"-17\"><c z=\"on the child\"/></r>", doc.GetText());
}

}  // namespace
