#include "app/VersionCompare.h"

#include <gtest/gtest.h>

namespace {

std::wstring Joined(const std::vector<CString>& pieces) {
  std::wstring out;
  for (const CString& piece : pieces) out += L"[" + std::wstring(piece.GetString()) + L"]";
  return out;
}

TEST(SplitStringTest, KeepsEmptyPiecesAndDoesNotOverlap) {
  struct Case {
    const wchar_t* text;
    const wchar_t* separator;
    const wchar_t* pieces;
  } const cases[] = {
      {L"", L".", L"[]"},
      {L"1.0.2", L".", L"[1][0][2]"},
      {L"1..2", L".", L"[1][][2]"},
      {L"1.2.", L".", L"[1][2][]"},
      {L"a--b--c", L"--", L"[a][b][c]"},
      {L"aaa", L"aa", L"[][a]"},
      {L"abc", L"", L"[abc]"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.pieces, Joined(SplitString(c.text, c.separator))) << "splitting \"" << c.text << "\"";
  }
}

TEST(CompareVersionsTest, ComparesTheLeadingNumberOfEachPart) {
  struct Case {
    const wchar_t* a;
    const wchar_t* b;
    int expected;
  } const cases[] = {
      {L"1.0", L"1.0", 0},
      {L"1.0.9", L"1.0.10", 1},       // numbers, not text: 9 < 10
      {L"1.0.0.10", L"1.0.0.9", -1},
      {L"2.0", L"1.9", -1},
      {L"1.2", L"1.2.0", 2},          // more parts on the right
      {L"1.0.0.9", L"1.0.1", 2},      // fewer parts on the right
      {L"10a", L"102", 1},            // reading stops at the letter: 10 < 102
      {L"1.0.1", L"1.0.2\r\n", 1},    // a line end after the last number does not matter
      {L"v1.5", L"v1.4", -1},         // leading text reads as 0 on both sides
      {L"v2", L"1", 1},
      {L" 3.+4", L"3.4", 0},          // white space and a sign before the digits
      {L"-1", L"0", 1},
      {L"", L"", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, CompareVersions(c.a, c.b)) << "\"" << c.a << "\" against \"" << c.b << "\"";
  }
}

TEST(CleanVersionTextTest, AcceptsOnlyTextFitForAFileName) {
  struct Case {
    const wchar_t* text;
    const wchar_t* version;  // null: rejected
  } const cases[] = {
      {L"1.0.2", L"1.0.2"},
      {L"1.0.2\r\n", L"1.0.2"},
      {L" \t2.1-beta_3 ", L"2.1-beta_3"},
      {L"", nullptr},
      {L" \r\n", nullptr},
      {L"Not Found", nullptr},
      {L"..\\..\\x", nullptr},
      {L"1.0/2", nullptr},
      {L"C:1", nullptr},
      {L"1.0\x00fc", nullptr},
  };
  for (const Case& c : cases) {
    CString version = L"previous";
    EXPECT_EQ(c.version != nullptr, CleanVersionText(c.text, version)) << c.text;
    EXPECT_STREQ(c.version ? c.version : L"", version.GetString()) << c.text;
  }
}

}  // namespace
