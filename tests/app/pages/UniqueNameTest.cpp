// The name a new profile or a duplicated macro gets: the prefix with the smallest free number.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/pages/UniqueName.h"

namespace {

std::vector<CString> Numbered(const wchar_t* prefix, int first, int last) {
  std::vector<CString> names;
  for (int n = first; n <= last; ++n) {
    CString name;
    name.Format(L"%s %d", prefix, n);
    names.push_back(name);
  }
  return names;
}

TEST(UniqueName, TakesTheSmallestNumberNoItemIsNamed) {
  const struct {
    const char* what;
    const wchar_t* prefix;
    std::vector<CString> taken;
    const wchar_t* expected;
  } cases[] = {
      {"no items", L"P", {}, L"P 1"},
      {"a gap", L"P", {L"P 1", L"P 3"}, L"P 2"},
      {"names compare with their case", L"P", {L"P 1", L"p 2"}, L"P 2"},
      {"names compare whole", L"P", {L"P 1 ", L"P 10", L" P 1"}, L"P 1"},
      {"a duplicate's prefix", L"M 1 -", {L"M 1", L"M 1 - 1", L"M 1 - 2"}, L"M 1 - 3"},
      {"taken up to 999", L"P", Numbered(L"P", 1, 999), L"P 1000"},
      {"taken to the end: the last name", L"P", Numbered(L"P", 1, 1000), L"P 1000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CString(c.expected), MakeUniqueName(c.prefix, c.taken)) << c.what;
  }
}

}  // namespace
