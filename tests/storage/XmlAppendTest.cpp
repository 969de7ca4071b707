#include "storage/XmlDocument.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <string>

#include "XmlIndexCheck.h"

namespace {

using xmltest::CheckIndex;
using xmltest::Narrow;
using xmltest::TreeDump;

const wchar_t kDeclaration[] = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

// The index updated in place must equal the index of a fresh parse of the text.
void ExpectSameAsFreshParse(const XmlDocument& doc, const std::string& context) {
  XmlDocument fresh(doc.GetText().c_str());
  EXPECT_EQ(TreeDump(fresh), TreeDump(doc)) << context << "\n" << Narrow(doc.GetText());
  EXPECT_EQ("", CheckIndex(doc)) << context;
}

TEST(XmlAppendTest, BuildsTheFileLayoutElementByElement) {
  XmlDocument doc;
  EXPECT_FALSE(doc.ParseText(kDeclaration));
  EXPECT_EQ(L"<no_root_element/>", doc.GetResultLog());
  ASSERT_TRUE(doc.AppendElement(L"r"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.AppendElement(L"a"));
  ASSERT_TRUE(doc.SetAttribute(L"n", 1));
  ASSERT_TRUE(doc.AppendElement(L"b"));
  ASSERT_TRUE(doc.WriteAttributeAt(doc.GetElementPosition(), L"name", L"x & y"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.AppendElement(L"c"));
  ASSERT_TRUE(doc.LeaveElement());
  ASSERT_TRUE(doc.LeaveElement());
  EXPECT_EQ(std::wstring(kDeclaration) +
                L"<r>\r\n<a n=\"1\"/>\r\n<b name=\"x &amp; y\">\r\n<c/>\r\n</b>\r\n</r>\r\n",
            doc.GetText());
  EXPECT_TRUE(doc.CheckStructure());
  ExpectSameAsFreshParse(doc, "layout");
}

TEST(XmlAppendTest, SplicesIntoEveryKindOfParent) {
  const struct {
    const char* name;
    const wchar_t* text;
    const wchar_t* path;  // elements to find and enter, "/"-separated; the last one is left current
    bool enterLast;
    const wchar_t* expected;
  } cases[] = {
      {"empty parent", L"<r/>", L"r", true, L"<r>\r\n<c/>\r\n</r>"},
      {"empty parent with attributes", L"<r a=\"1\" />", L"r", true, L"<r a=\"1\" >\r\n<c/>\r\n</r>"},
      {"parent with nothing between its tags", L"<r></r>", L"r", true, L"<r>\r\n<c/>\r\n</r>"},
      {"never-closed parent", L"<r><p><q/></r>", L"r/p", true, L"<r><p>\r\n<c/>\r\n</p><q/></r>"},
      {"after the last child", L"<r>\r\n<a/>\r\n</r>", L"r", true, L"<r>\r\n<a/>\r\n<c/>\r\n</r>"},
      {"after the current element, past its line break", L"<r>\r\n<a/>\r\n<b/>\r\n</r>", L"r/a", false,
       L"<r>\r\n<a/>\r\n<c/>\r\n<b/>\r\n</r>"},
      {"after the current element followed by text", L"<r><a/>t<b/></r>", L"r/a", false, L"<r><a/><c/>\r\nt<b/></r>"},
      {"a second top-level element", L"<r/>", L"r", false, L"<r/><c/>\r\n"},
      {"at the top after a declaration", kDeclaration, L"", false,
       L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<c/>\r\n"},
      {"into an empty text", L"", L"", false, L"<c/>\r\n"},
  };
  for (const auto& c : cases) {
    XmlDocument doc(c.text);
    std::wstring path = c.path;
    for (size_t at = 0; !path.empty();) {
      const size_t slash = path.find(L'/', at);
      const std::wstring name = path.substr(at, slash == std::wstring::npos ? std::wstring::npos : slash - at);
      ASSERT_TRUE(doc.NextElement(name.c_str())) << c.name;
      if (slash == std::wstring::npos) break;
      ASSERT_TRUE(doc.EnterElement()) << c.name;
      at = slash + 1;
    }
    if (c.enterLast) {
      ASSERT_TRUE(doc.EnterElement()) << c.name;
    }
    ASSERT_TRUE(doc.AppendElement(L"c")) << c.name;
    EXPECT_EQ(std::wstring(c.expected), doc.GetText()) << c.name;
    ExpectSameAsFreshParse(doc, c.name);
  }
}

TEST(XmlAppendTest, RefusesAnEmptyName) {
  XmlDocument doc(L"<r/>");
  EXPECT_FALSE(doc.AppendElement(L""));
  EXPECT_FALSE(doc.AppendElement(nullptr));
  EXPECT_EQ(L"<r/>", doc.GetText());
  EXPECT_EQ(2, doc.GetRecordCount());
}

// Random walks of appends, attribute writes and moves over texts without syntax faults
// (never-closed elements included): after every edit the index equals a fresh parse.
TEST(XmlAppendTest, InPlaceIndexMatchesAFreshParse) {
  const wchar_t* fixtures[] = {
      L"",
      kDeclaration,
      L"<?xml version=\"1.0\"?>\r\n<r>\r\n<a x=\"1\"/>\r\n<b>\r\n<c/>\r\n</b>\r\n</r>\r\n",
      L"<r><a><b/><c y='2'></c></a>text<d/></r>",
      L"<r><p><q/><s t=u/></r><!-- c --><z/>",
      L"<r>\n  <a/>\n  <b k=\"/?\" />\n</r>\n",
  };
  const wchar_t* names[] = {L"a", L"b", L"c", L"item", L"r"};
  const wchar_t* values[] = {L"1", L"", L"/?", L"a&b<c>\"'", L"\u00e9\U0001F600", L"long value with spaces"};
  std::mt19937 random(7);
  const ULONGLONG until = GetTickCount64() + 3000;
  int runs = 0;
  while (GetTickCount64() < until && runs < 2000) {
    XmlDocument doc(fixtures[random() % (sizeof(fixtures) / sizeof(fixtures[0]))]);
    std::string trail;
    for (int step = 0; step < 30; ++step) {
      const wchar_t* name = names[random() % 5];
      const wchar_t* value = values[random() % 6];
      switch (random() % 6) {
        case 0: trail += 'N'; doc.NextElement(random() % 2 ? name : nullptr); break;
        case 1: trail += 'E'; doc.EnterElement(); break;
        case 2: trail += 'L'; doc.LeaveElement(); break;
        case 3: trail += 'A'; ASSERT_TRUE(doc.AppendElement(name)); break;
        default:
          trail += 'W';
          if (doc.WriteAttributeAt(doc.GetElementPosition(), name, value)) {
            ASSERT_STREQ(value, doc.GetAttribute(name)) << trail;
          }
          break;
      }
      if (trail.back() == 'A' || trail.back() == 'W') {
        XmlDocument fresh(doc.GetText().c_str());
        ASSERT_EQ(TreeDump(fresh), TreeDump(doc)) << trail << "\n" << Narrow(doc.GetText());
      }
    }
    ASSERT_EQ("", CheckIndex(doc)) << trail;
    ++runs;
  }
  EXPECT_GT(runs, 50);
}

}  // namespace
