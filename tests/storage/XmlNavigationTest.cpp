#include "storage/XmlDocument.h"

#include <gtest/gtest.h>

namespace {

const wchar_t kDocument[] =
    L"<root id=\"r\"><info id=\"i\"/><items id=\"s\"/><Item id=\"I\"/><item id=\"1\"/>"
    L"<item id=\"2\"><sub id=\"u\"/></item><x id=\"x\"/></root>";

struct Step {
  char op;  // N next element, E enter, L leave
  const wchar_t* name;
  bool result;
  const wchar_t* current;  // id of the current element afterwards ("" when there is none)
};

TEST(XmlNavigationTest, WalksForwardOnlyByExactName) {
  const Step steps[] = {
      {'N', L"root", true, L"r"},   {'E', nullptr, true, L""},   {'N', L"item", true, L"1"},
      {'N', L"info", false, L"1"},  {'N', L"item", true, L"2"},  {'N', L"item", false, L"2"},
      {'L', nullptr, true, L"r"},   {'E', nullptr, true, L"2"},  {'N', L"info", false, L"2"},
      {'N', L"item", false, L"2"},  {'E', nullptr, true, L""},   {'N', L"", true, L"u"},
      {'N', nullptr, false, L"u"},  {'L', nullptr, true, L"2"},  {'N', nullptr, true, L"x"},
      {'L', nullptr, true, L"r"},   {'L', nullptr, false, L"r"}, {'N', L"root", false, L"r"},
  };
  XmlDocument doc(kDocument);
  int n = 0;
  for (const Step& s : steps) {
    ++n;
    const bool result = s.op == 'N' ? doc.NextElement(s.name) : s.op == 'E' ? doc.EnterElement() : doc.LeaveElement();
    EXPECT_EQ(s.result, result) << "step " << n;
    EXPECT_STREQ(s.current, doc.GetAttribute(L"id")) << "step " << n;
  }
}

TEST(XmlNavigationTest, CutsTheNameArgument) {
  const struct {
    const wchar_t* name;
    const wchar_t* found;  // id, or null when the search fails
  } cases[] = {
      {L"item attr", L"1"}, {L"item=5", L"1"}, {L"item/", L"1"},  {L"item[2]", L"1"}, {L"item]", L"1"},
      {L"/item", nullptr},  {L" item", nullptr}, {L"ite", nullptr}, {L"items", L"s"},  {L"Item", L"I"},
      {nullptr, L"i"},      {L"", L"i"},
  };
  for (const auto& c : cases) {
    XmlDocument doc(kDocument);
    ASSERT_TRUE(doc.NextElement(L"root"));
    ASSERT_TRUE(doc.EnterElement());
    EXPECT_EQ(c.found != nullptr, doc.NextElement(c.name)) << (c.name ? c.name : L"(null)");
    if (c.found) {
      EXPECT_STREQ(c.found, doc.GetAttribute(L"id"));
    }
  }
}

TEST(XmlNavigationTest, EmptyDocumentHasNothingToVisit) {
  XmlDocument doc;
  EXPECT_FALSE(doc.NextElement(nullptr));
  EXPECT_FALSE(doc.EnterElement());
  EXPECT_FALSE(doc.LeaveElement());
  EXPECT_STREQ(L"", doc.GetAttribute(L"id"));
}

}  // namespace
