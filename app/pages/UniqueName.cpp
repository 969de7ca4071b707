#include "app/pages/UniqueName.h"

#include <string>
#include <unordered_set>

namespace {

// Numbers tried from 1; the last one is given when every name is taken.
constexpr int kLastNumber = 1000;

}  // namespace

CString MakeUniqueName(const CString& prefix, const std::vector<CString>& taken) {
  std::unordered_set<std::wstring> names;
  for (const CString& text : taken) names.insert(text.GetString());
  CString name;
  for (int n = 1; n <= kLastNumber; ++n) {
    name.Format(L"%s %d", prefix.GetString(), n);
    if (names.count(name.GetString()) == 0) break;
  }
  return name;
}
