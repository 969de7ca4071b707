#include "storage/XmlDocument.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <string>
#include <vector>

#include "XmlIndexCheck.h"

namespace {

using xmltest::CheckIndex;
using xmltest::Narrow;
using xmltest::Records;

struct ParseCase {
  const char* name;
  const wchar_t* text;
  bool wellFormed;
  // start,length,startTag,endTag,level,parent,first,next,previous,marks (1 first child,
  // 2 never closed) per record.
  const char* records;
  const wchar_t* log;
};

const ParseCase kParseCases[] = {
    {"an element holding an empty element", L"<a><b/></a>", true, "0,11,3,4,0,0,2,0,1,1;3,4,4,0,1,1,0,0,2,1", L""},
    {"an element left unclosed hands its child to its parent", L"<a><b><c/></a>", false,
     "0,14,3,4,0,0,2,0,1,1;3,3,3,0,1,1,0,3,3,3;6,4,4,0,1,1,0,0,2,0",
     L"<unended_start_tag tagname=\"b\" offset=\"3\" offset2=\"11\"/>"},
    {"a lone end tag is ignored", L"<a></b></a>", false, "0,11,3,4,0,0,0,0,1,1",
     L"<lone_end_tag tagname=\"b\" offset=\"3\"/>"},
    {"two roots", L"<a/><b/>", false, "0,4,4,0,0,0,0,2,2,1;4,4,4,0,0,0,0,0,1,0", L"<root_has_sibling/>"},
    {"an empty text", L"", false, "", L""},
    {"a declaration alone", L"<?xml version=\"1.0\"?>\r\n", false, "", L"<no_root_element/>"},
    {"a > inside quoted values", L"<a b=\"x>y\" c='>'/>", true, "0,18,18,0,0,0,0,0,1,1", L""},
    {"a quote that follows no = opens no value", L"<a b\"x>y\"/>", false, "0,7,7,0,0,0,0,0,1,3",
     L"<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"11\"/>"},
    {"<!- without a second -", L"<a><!-x></a>", false, "0,12,3,4,0,0,0,0,1,1", L"<comment_tag_syntax offset=\"3\"/>"},
    {"< followed by a digit", L"<a><1></a>", false, "0,10,3,4,0,0,0,0,1,1", L"<first_tag_syntax offset=\"3\"/>"},
    {"the text ends inside a start tag", L"<a><b c=\"1", false, "0,3,3,0,0,0,0,0,1,3",
     L"<unterminated_tag_syntax type=\"start_tag\" offset=\"3\"/>"
     L"<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"10\"/>"},
    {"the text ends inside a comment, after <", L"<a/><!-- x", false, "0,4,4,0,0,0,0,0,1,1",
     L"<unterminated_tag_syntax type=\"comment\" offset=\"4\"/>"},
    {"the text ends after <", L"<a/><", false, "0,4,4,0,0,0,0,0,1,1",
     L"<unterminated_tag_syntax type=\"tag\" offset=\"4\"/>"},
    {"<!x, <![ without C and a bad declaration in a document type", L"<a><!x><![D]><!DOCTYPE a <?p?>></a>", false,
     "0,35,3,4,0,0,0,0,1,1",
     L"<exclamation_tag_syntax offset=\"3\"/><cdata_section_syntax offset=\"7\"/><doctype_tag_syntax offset=\"13\"/>"},
    {"document type with an internal subset, processing instruction, comment and CDATA",
     L"<!DOCTYPE r [<!ELEMENT r ANY><!ATTLIST r a CDATA \"x>\">]><?pi x?><r><!-- <x> --><![CDATA[<y>]]></r>", true,
     "64,34,3,4,0,0,0,0,1,1", L""},
    {"the text ends inside an internal subset", L"<r/><!DOCTYPE r [<!ELEMENT r ANY>", false, "0,4,4,0,0,0,0,0,1,1",
     L"<unterminated_tag_syntax type=\"document_type\" offset=\"4\"/>"},
    {"an unquoted value running into / keeps the element open", L"<a><b c=d/><e f=\"g\"/></a>", false,
     "0,25,3,4,0,0,2,0,1,1;3,8,8,0,1,1,0,3,3,3;11,10,10,0,1,1,0,0,2,0",
     L"<unended_start_tag tagname=\"b\" offset=\"3\" offset2=\"22\"/>"},
    {"end tags match exact case and close the innermost match", L"<a><A><a></a></A></a>", true,
     "0,21,3,4,0,0,2,0,1,1;3,14,3,4,1,1,3,0,2,1;6,7,3,4,2,2,0,0,3,1", L""},
    {"several unclosed elements are logged innermost first", L"<r><a><b><c>x</r>", false,
     "0,17,3,4,0,0,2,0,1,1;3,3,3,0,1,1,0,3,4,3;6,3,3,0,1,1,0,4,2,2;9,3,3,0,1,1,0,0,3,2",
     L"<unended_start_tag tagname=\"c\" offset=\"9\" offset2=\"14\"/>"
     L"<unended_start_tag tagname=\"b\" offset=\"6\" offset2=\"14\"/>"
     L"<unended_start_tag tagname=\"a\" offset=\"3\" offset2=\"14\"/>"},
};

TEST(XmlParserTest, BuildsTheExpectedRecordsResultAndLog) {
  for (const ParseCase& c : kParseCases) {
    XmlDocument doc;
    EXPECT_EQ(c.wellFormed, doc.ParseText(c.text)) << c.name;
    EXPECT_EQ(c.records, Records(doc)) << c.name;
    EXPECT_EQ(Narrow(c.log), Narrow(doc.GetResultLog())) << c.name;
    EXPECT_EQ("", CheckIndex(doc)) << c.name;
    EXPECT_EQ(0, doc.GetElementPosition()) << c.name;
  }
}

TEST(XmlParserTest, ReparsingReplacesEverything) {
  XmlDocument doc(L"<a><b/><c/><d/></a>");
  EXPECT_EQ(5, doc.GetRecordCount());
  EXPECT_FALSE(doc.ParseText(L"<x"));
  EXPECT_EQ(1, doc.GetRecordCount());
  EXPECT_EQ(0, doc.GetIndex()[0].firstChild);
  EXPECT_TRUE(doc.ParseText(L"<y/>"));
  EXPECT_EQ("0,4,4,0,0,0,0,0,1,1", Records(doc));
  EXPECT_EQ(L"", doc.GetResultLog());
  EXPECT_FALSE(doc.ParseText(nullptr));
  EXPECT_EQ(L"", doc.GetText());
  EXPECT_EQ(1, doc.GetRecordCount());
}

// Random edits of the table's texts with markup characters: whatever comes out, the index
// stays sound and parsing never crashes.
TEST(XmlParserTest, MutatedTextsKeepASoundIndex) {
  std::mt19937 random(20261210);
  const wchar_t alphabet[] = L"<>/!?-[]\"'= \r\nabDCEAN";
  const ULONGLONG until = GetTickCount64() + 3000;
  int runs = 0;
  while (GetTickCount64() < until && runs < 20000) {
    std::wstring text = kParseCases[random() % (sizeof(kParseCases) / sizeof(kParseCases[0]))].text;
    const int edits = 1 + random() % 6;
    for (int e = 0; e < edits; ++e) {
      const size_t at = text.empty() ? 0 : random() % (text.size() + 1);
      const wchar_t ch = alphabet[random() % (sizeof(alphabet) / sizeof(wchar_t) - 1)];
      switch (random() % 3) {
        case 0: text.insert(at, 1, ch); break;
        case 1: if (at < text.size()) text.erase(at, 1); break;
        default: if (at < text.size()) text[at] = ch; break;
      }
    }
    XmlDocument doc;
    const bool wellFormed = doc.ParseText(text.c_str());
    const std::string fault = CheckIndex(doc);
    ASSERT_EQ("", fault) << Narrow(text);
    ASSERT_EQ(wellFormed, doc.CheckStructure()) << Narrow(text);
    ++runs;
  }
  EXPECT_GT(runs, 100);
}

TEST(XmlParserTest, TheLogStopsGrowingAtItsCap) {
  std::wstring text = L"<r>";
  for (int i = 0; i < 200; ++i) text += L"</x" + std::to_wstring(i) + L">";
  text += L"</r>";
  XmlDocument doc(text.c_str());
  const std::wstring& log = doc.GetResultLog();
  const std::wstring entry = L"<lone_end_tag tagname=\"x0\" offset=\"3\"/>";
  EXPECT_EQ(0u, log.find(entry));
  EXPECT_GT(log.size(), 999u);
  EXPECT_LT(log.size(), 999u + entry.size() + 4);
  // The entries written are the first ones, in order.
  EXPECT_NE(std::wstring::npos, log.find(L"tagname=\"x20\""));
  EXPECT_EQ(std::wstring::npos, log.find(L"tagname=\"x199\""));
  EXPECT_EQ("", CheckIndex(doc));
}

TEST(XmlParserTest, TwoHundredThousandElementsSpanSeveralIndexPages) {
  const int count = 200000;
  std::wstring text = L"<r>";
  for (int i = 0; i < count; ++i) text += (i % 2) ? L"<e/>" : L"<ee></ee>";
  text += L"</r>";
  XmlDocument doc;
  ASSERT_TRUE(doc.ParseText(text.c_str()));
  ASSERT_EQ(count + 2, doc.GetRecordCount());
  const XmlElementIndex& index = doc.GetIndex();
  EXPECT_EQ(3, index[2].start);
  EXPECT_EQ(9, index[2].length);
  const int last = count + 1;
  EXPECT_EQ(static_cast<int>(text.size()) - 8, index[last].start);
  EXPECT_EQ(4, index[last].length);
  EXPECT_EQ(last, index[2].previousSibling);
  EXPECT_EQ(static_cast<int>(text.size()), index[1].length);
  EXPECT_EQ("", CheckIndex(doc));
}

struct HostileCase {
  const char* name;
  std::wstring text;
  bool (*check)(const XmlDocument&);
};

std::wstring Repeat(const wchar_t* piece, int count) {
  std::wstring out;
  for (int i = 0; i < count; ++i) out += piece;
  return out;
}

// Shapes that make a careless parser quadratic or wrap its record fields around. Each must
// finish well inside the bound (a linear parse takes a fraction of a second).
TEST(XmlParserTest, HostileShapesParseQuicklyWithoutWrapAround) {
  const HostileCase cases[] = {
      {"100,000 nested unclosed elements then an end tag", L"<r>" + Repeat(L"<a>", 100000) + L"</r>",
       [](const XmlDocument& d) {
         const XmlElementRecord& last = d.GetIndex()[100001];
         return d.GetIndex()[1].length == 300007 && last.level == 1 && last.parent == 1 &&
                (last.marks & kXmlMarkNeverClosed) && d.GetIndex()[2].nextSibling == 3;
       }},
      {"50,000 start tags then 50,000 unmatched end tags", Repeat(L"<a>", 50000) + Repeat(L"</b>", 50000),
       [](const XmlDocument& d) { return d.GetRecordCount() == 50001 && d.GetIndex()[50000].level == 0; }},
      {"a start tag of 5 million characters", L"<a b=\"" + std::wstring(5000000, L'x') + L"\"/>",
       [](const XmlDocument& d) { return d.GetIndex()[1].startTagLength == 5000009; }},
      {"an end-tag name of 2,000 characters",
       L"<" + std::wstring(2000, L'n') + L">" + L"</" + std::wstring(2000, L'n') + L">",
       [](const XmlDocument& d) { return d.GetIndex()[1].endTagLength == 2003 && d.CheckStructure(); }},
      {"nesting 70,000 deep", Repeat(L"<a>", 70000) + Repeat(L"</a>", 70000),
       [](const XmlDocument& d) { return d.CheckStructure() && d.GetIndex()[70000].level == 69999; }},
  };
  for (const HostileCase& c : cases) {
    const ULONGLONG started = GetTickCount64();
    XmlDocument doc(c.text.c_str());
    const ULONGLONG took = GetTickCount64() - started;
    EXPECT_TRUE(c.check(doc)) << c.name;
    EXPECT_LT(took, 5000u) << c.name;
    EXPECT_EQ("", CheckIndex(doc)) << c.name;
  }
}

}  // namespace
