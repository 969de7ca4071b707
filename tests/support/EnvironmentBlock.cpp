#include "EnvironmentBlock.h"

#include <windows.h>

#include <cwchar>

namespace testsupport {

std::vector<wchar_t> EnvironmentWith(const EnvironmentVariables& variables) {
  const auto replaced = [&](const wchar_t* entry) {
    for (const auto& variable : variables) {
      const std::wstring prefix = variable.first + L"=";
      if (_wcsnicmp(entry, prefix.c_str(), prefix.size()) == 0) return true;
    }
    return false;
  };
  std::vector<wchar_t> block;
  if (wchar_t* strings = GetEnvironmentStringsW()) {
    for (const wchar_t* entry = strings; *entry; entry += wcslen(entry) + 1) {
      if (!replaced(entry)) block.insert(block.end(), entry, entry + wcslen(entry) + 1);
    }
    FreeEnvironmentStringsW(strings);
  }
  for (const auto& variable : variables) {
    if (variable.second.empty()) continue;
    const std::wstring entry = variable.first + L"=" + variable.second;
    block.insert(block.end(), entry.c_str(), entry.c_str() + entry.size() + 1);
  }
  block.push_back(L'\0');
  if (block.size() == 1) block.push_back(L'\0');  // an empty block still ends in two zeros
  return block;
}

}  // namespace testsupport
