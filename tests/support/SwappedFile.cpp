#include "SwappedFile.h"

#include <windows.h>

namespace testsupport {

SwappedFile::SwappedFile(const std::wstring& target, const std::wstring& replacement)
    : m_target(target), m_saved(target + L".saved") {
  m_hadOriginal = MoveFileExW(m_target.c_str(), m_saved.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
  if (!replacement.empty()) CopyFileW(replacement.c_str(), m_target.c_str(), FALSE);
}

SwappedFile::~SwappedFile() {
  DeleteFileW(m_target.c_str());
  if (m_hadOriginal) MoveFileExW(m_saved.c_str(), m_target.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace testsupport
