#include "app/VersionCompare.h"

#include <cstdlib>

std::vector<CString> SplitString(const CString& text, const CString& separator) {
  std::vector<CString> pieces;
  const int step = separator.GetLength();
  if (step == 0) {
    pieces.push_back(text);
    return pieces;
  }
  int start = 0;
  for (int at = text.Find(separator.GetString(), start); at >= 0; at = text.Find(separator.GetString(), start)) {
    pieces.push_back(text.Mid(start, at - start));
    start = at + step;
  }
  pieces.push_back(text.Mid(start));
  return pieces;
}

int CompareVersions(const CString& a, const CString& b) {
  const std::vector<CString> left = SplitString(a, L".");
  const std::vector<CString> right = SplitString(b, L".");
  if (left.size() != right.size()) return 2;
  for (size_t i = 0; i < left.size(); ++i) {
    const int na = _wtoi(left[i].GetString());
    const int nb = _wtoi(right[i].GetString());
    if (na > nb) return -1;
    if (na < nb) return 1;
  }
  return 0;
}

bool CleanVersionText(const CString& text, CString& version) {
  CString trimmed = text;
  trimmed.Trim();
  bool valid = !trimmed.IsEmpty();
  for (int i = 0; valid && i < trimmed.GetLength(); ++i) {
    const wchar_t c = trimmed[i];
    valid = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'.' ||
            c == L'_' || c == L'-';
  }
  if (valid) {
    version = trimmed;
  } else {
    version.Empty();
  }
  return valid;
}
