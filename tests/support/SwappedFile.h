// Puts a replacement in place of one file for the life of the object and restores the
// original afterwards (or removes the replacement when there was none): a test changes one
// installation file without touching the others.
#pragma once

#include <string>

namespace testsupport {

class SwappedFile {
 public:
  // replacement empty: the file is only moved away (missing for the test).
  SwappedFile(const std::wstring& target, const std::wstring& replacement);
  ~SwappedFile();
  SwappedFile(const SwappedFile&) = delete;
  SwappedFile& operator=(const SwappedFile&) = delete;

 private:
  std::wstring m_target;
  std::wstring m_saved;
  bool m_hadOriginal = false;
};

}  // namespace testsupport
