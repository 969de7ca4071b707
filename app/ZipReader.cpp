#include "app/ZipReader.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <cwchar>

#include <minizip/unzip.h>

#include "app/PendingFile.h"

namespace {

constexpr unsigned kBufferSize = 16384;       // extraction buffer
constexpr size_t kArchiveBufferSize = 65536;  // read buffer under minizip
// 100-nanosecond steps from 1601-01-01 to 1970-01-01.
constexpr uint64_t kUnixEpochAsFileTime = 116444736000000000ULL;

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// True for a name the caller asked to place somewhere absolute ("\x", "/x", "C:x").
bool IsRooted(const std::wstring& path) {
  return (!path.empty() && IsSeparator(path[0])) || (path.size() >= 2 && path[1] == L':');
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

FILETIME FileTimeFromUnix(uint32_t seconds) {
  const uint64_t value = uint64_t(seconds) * 10000000ULL + kUnixEpochAsFileTime;
  FILETIME ft;
  ft.dwLowDateTime = DWORD(value);
  ft.dwHighDateTime = DWORD(value >> 32);
  return ft;
}

bool IsZeroTime(const FILETIME& ft) { return ft.dwLowDateTime == 0 && ft.dwHighDateTime == 0; }

// Names that Windows opens as devices in any folder, with or without an extension.
constexpr const wchar_t* kDeviceNames[] = {L"CON",  L"PRN",  L"AUX",  L"NUL",  L"CONIN$", L"CONOUT$", L"COM1", L"COM2",
                                           L"COM3", L"COM4", L"COM5", L"COM6", L"COM7",   L"COM8",    L"COM9", L"LPT1",
                                           L"LPT2", L"LPT3", L"LPT4", L"LPT5", L"LPT6",   L"LPT7",    L"LPT8", L"LPT9"};

bool IsDeviceName(const std::wstring& part) {
  std::wstring stem = part.substr(0, part.find(L'.'));
  while (!stem.empty() && stem.back() == L' ') stem.pop_back();
  for (const wchar_t* device : kDeviceNames) {
    if (_wcsicmp(stem.c_str(), device) == 0) return true;
  }
  return false;
}

// Strips drive prefixes, leading separators and everything up to a "\..\"-like
// sequence, repeating until none of these applies.
std::wstring StripLeadingParts(const std::wstring& name) {
  static const wchar_t* const kParentSequences[] = {L"\\..\\", L"\\../", L"/../", L"/..\\"};
  size_t start = 0;
  for (;;) {
    const size_t left = name.size() - start;
    if (left >= 2 && name[start] != 0 && name[start + 1] == L':') {
      start += 2;
      continue;
    }
    if (left >= 1 && IsSeparator(name[start])) {
      start += 1;
      continue;
    }
    bool moved = false;
    for (const wchar_t* sequence : kParentSequences) {
      const size_t at = name.find(sequence, start);
      if (at != std::wstring::npos) {
        start = at + wcslen(sequence);
        moved = true;
        break;
      }
    }
    if (!moved) return name.substr(start);
  }
}

// The archive file under minizip: opened here (reading, shared for reading, existing
// only) and read through a buffer, because minizip reads its headers a few bytes at a
// time and every unbuffered read would be a call into the system. minizip closes it
// through Close, also when it refuses the file.
class ArchiveFile {
public:
  static unzFile Open(const wchar_t* path) {
    HANDLE handle = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    ArchiveFile* file = new ArchiveFile(handle);
    zlib_filefunc64_def functions = {};
    functions.zopen64_file = [](voidpf opaque, const void*, int) -> voidpf { return opaque; };
    functions.zread_file = [](voidpf, voidpf stream, void* buffer, uLong size) -> uLong {
      return static_cast<ArchiveFile*>(stream)->Read(static_cast<char*>(buffer), size);
    };
    functions.zwrite_file = [](voidpf, voidpf, const void*, uLong) -> uLong { return 0; };
    functions.ztell64_file = [](voidpf, voidpf stream) -> ZPOS64_T { return static_cast<ArchiveFile*>(stream)->m_pos; };
    functions.zseek64_file = [](voidpf, voidpf stream, ZPOS64_T offset, int origin) -> long {
      return static_cast<ArchiveFile*>(stream)->Seek(offset, origin);
    };
    functions.zclose_file = [](voidpf, voidpf stream) -> int {
      delete static_cast<ArchiveFile*>(stream);
      return 0;
    };
    functions.zerror_file = [](voidpf, voidpf stream) -> int { return static_cast<ArchiveFile*>(stream)->m_error; };
    functions.opaque = file;
    return unzOpen2_64(path, &functions);
  }

private:
  explicit ArchiveFile(HANDLE handle) : m_handle(handle), m_buffer(kArchiveBufferSize) {
    LARGE_INTEGER size = {};
    if (GetFileSizeEx(handle, &size)) m_size = uint64_t(size.QuadPart);
  }
  ~ArchiveFile() { CloseHandle(m_handle); }

  uLong Read(char* out, uLong size) {
    uLong done = 0;
    while (done < size) {
      if (m_pos >= m_bufferStart && m_pos < m_bufferStart + m_bufferLength) {
        const size_t offset = size_t(m_pos - m_bufferStart);
        const size_t count = std::min<size_t>(size - done, m_bufferLength - offset);
        memcpy(out + done, m_buffer.data() + offset, count);
        done += uLong(count);
        m_pos += count;
        continue;
      }
      LARGE_INTEGER at;
      at.QuadPart = LONGLONG(m_pos);
      DWORD read = 0;
      if (!SetFilePointerEx(m_handle, at, nullptr, FILE_BEGIN) ||
          !ReadFile(m_handle, m_buffer.data(), DWORD(m_buffer.size()), &read, nullptr)) {
        m_error = 1;
        break;
      }
      if (read == 0) break;
      m_bufferStart = m_pos;
      m_bufferLength = read;
    }
    return done;
  }

  long Seek(ZPOS64_T offset, int origin) {
    switch (origin) {
      case ZLIB_FILEFUNC_SEEK_SET:
        m_pos = offset;
        return 0;
      case ZLIB_FILEFUNC_SEEK_CUR:
        m_pos += offset;
        return 0;
      case ZLIB_FILEFUNC_SEEK_END:
        m_pos = m_size + offset;
        return 0;
      default:
        return -1;
    }
  }

  HANDLE m_handle;
  std::vector<char> m_buffer;
  uint64_t m_size = 0;
  uint64_t m_pos = 0;
  uint64_t m_bufferStart = 0;
  size_t m_bufferLength = 0;
  int m_error = 0;
};

// Copies the open entry's data to file in pieces of the buffer's size.
DWORD CopyEntryData(unzFile zip, std::vector<char>& buffer, PendingFile& file) {
  unz_file_info64 info;
  if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) return ZIP_E_DATA;
  if (info.flag & 1) return ZIP_E_ENCRYPTED;  // no password is ever given
  for (;;) {
    const int read = unzReadCurrentFile(zip, buffer.data(), unsigned(buffer.size()));
    if (read > 0) {
      if (!file.Write(buffer.data(), DWORD(read))) return ZIP_E_WRITE;
      continue;
    }
    // minizip also answers 0 when the compressed data ran out before the end.
    return read == 0 && unzeof(zip) ? ZIP_OK : ZIP_E_DATA;
  }
}

}  // namespace

std::wstring CleanZipEntryName(const std::wstring& name) {
  const std::wstring stripped = StripLeadingParts(name);
  // Part by part: whatever remains after the first pass may still hold a leading or
  // trailing "..", parts that Windows folds into their parent ("...", ". "), stream
  // or drive colons and device names.
  std::wstring result;
  size_t pos = 0;
  while (pos < stripped.size()) {
    size_t end = pos;
    while (end < stripped.size() && !IsSeparator(stripped[end])) ++end;
    std::wstring part = stripped.substr(pos, end - pos);
    const wchar_t separator = end < stripped.size() ? stripped[end] : 0;
    pos = end < stripped.size() ? end + 1 : end;

    if (part == L"..") {
      result.clear();
      continue;
    }
    if (part.find_first_not_of(L". ") == std::wstring::npos) continue;  // "", ".", "...", " "
    for (wchar_t& c : part) {
      if (c == L':') c = L'_';
    }
    if (IsDeviceName(part)) part.insert(part.begin(), L'_');
    result += part;
    if (separator) result += separator;
  }
  return result;
}

DWORD ZipAttributesToWindows(DWORD a, unsigned host) {
  bool directory = (a & 0x40000000) != 0;
  bool readOnly = (a & 0x00800000) == 0;
  bool hidden = false, system = false, archive = true;
  if (host == 0 || host == 7 || host == 11 || host == 14) {  // MS-DOS-like hosts keep DOS attributes
    readOnly = (a & 0x01) != 0;
    hidden = (a & 0x02) != 0;
    system = (a & 0x04) != 0;
    directory = (a & 0x10) != 0;
    archive = (a & 0x20) != 0;
  }
  DWORD result = 0;
  if (directory) result |= FILE_ATTRIBUTE_DIRECTORY;
  if (archive) result |= FILE_ATTRIBUTE_ARCHIVE;
  if (hidden) result |= FILE_ATTRIBUTE_HIDDEN;
  if (readOnly) result |= FILE_ATTRIBUTE_READONLY;
  if (system) result |= FILE_ATTRIBUTE_SYSTEM;
  return result;
}

void ApplyExtraFieldTimes(const uint8_t* extra, size_t size, ZIP_ENTRY_INFO* entry) {
  if (size < 5) return;
  auto le16 = [extra](size_t at) { return unsigned(extra[at]) | unsigned(extra[at + 1]) << 8; };
  auto le32 = [extra](size_t at) {
    return uint32_t(extra[at]) | uint32_t(extra[at + 1]) << 8 | uint32_t(extra[at + 2]) << 16 |
           uint32_t(extra[at + 3]) << 24;
  };
  size_t p = 0;
  while (p + 4 < size) {
    const size_t dataSize = le16(p + 2);
    if (extra[p] == 'U' && extra[p + 1] == 'T') {
      // Times are read only inside both the block and the field: a block whose flags
      // promise more times than its size holds gives just the ones it holds.
      const size_t end = std::min(size, p + 4 + dataSize);
      const unsigned flags = extra[p + 4];
      FILETIME* const targets[] = {&entry->modificationTime, &entry->accessTime, &entry->creationTime};
      size_t at = p + 5;
      for (int bit = 0; bit < 3; ++bit) {
        if (!(flags & (1u << bit))) continue;
        if (at + 4 > end) break;
        *targets[bit] = FileTimeFromUnix(le32(at));
        at += 4;
      }
      return;
    }
    p += dataSize + 4;
  }
}

FILETIME ZipTimeToFileTime(WORD dosDate, WORD dosTime) {
  SYSTEMTIME st = {};
  st.wYear = WORD((dosDate >> 9) + 1980);
  st.wMonth = WORD((dosDate >> 5) & 15);
  st.wDay = WORD(dosDate & 31);
  st.wHour = WORD(dosTime >> 11);
  st.wMinute = WORD((dosTime >> 5) & 63);
  st.wSecond = WORD((dosTime & 31) * 2);
  FILETIME ft = {};
  if (!SystemTimeToFileTime(&st, &ft)) ft = FILETIME{};
  return ft;
}

void CreateFolderPath(const wchar_t* root, const wchar_t* path) {
  const std::wstring base = root ? root : L"";
  if (root && !Exists(base)) CreateDirectoryW(base.c_str(), nullptr);
  const std::wstring relative = path ? path : L"";
  // Every prefix that ends before a separator, then the whole path; a separator in
  // the first place is the root of an absolute path and names nothing to create.
  for (size_t i = 1; i <= relative.size(); ++i) {
    if (i < relative.size() && !IsSeparator(relative[i])) continue;
    const std::wstring folder = base + relative.substr(0, i);
    if (!Exists(folder)) CreateDirectoryW(folder.c_str(), nullptr);
  }
}

ZipReader::ZipReader() : m_zip(nullptr), m_count(0), m_current(-1), m_lastEntry(), m_lastIndex(-1) {}

ZipReader::~ZipReader() { Close(); }

DWORD ZipReader::Open(const wchar_t* zipPath) {
  if (m_zip) return ZIP_E_BUSY;
  wchar_t current[MAX_PATH + 1] = {};
  const DWORD length = GetCurrentDirectoryW(MAX_PATH, current);
  SetBaseFolder(length > 0 && length < MAX_PATH ? current : L".");

  unzFile zip = ArchiveFile::Open(zipPath);
  if (!zip) return ZIP_E_OPEN;
  // The count comes from walking the central directory, not from the number the
  // archive's end record claims: a damaged archive may claim any number.
  int count = 0;
  if (unzGoToFirstFile(zip) == UNZ_OK) {
    do {
      ++count;
    } while (count < INT_MAX && unzGoToNextFile(zip) == UNZ_OK);
  }
  m_zip = zip;
  m_count = count;
  m_current = -1;
  m_lastIndex = -1;
  return ZIP_OK;
}

DWORD ZipReader::SetBaseFolder(const wchar_t* folder) {
  m_baseFolder = folder ? folder : L"";
  if (m_baseFolder.empty() || !IsSeparator(m_baseFolder.back())) m_baseFolder += L'\\';
  return ZIP_OK;
}

DWORD ZipReader::MoveTo(int index) {
  if (m_current < 0 || m_current > index) {
    if (unzGoToFirstFile(m_zip) != UNZ_OK) {
      m_current = -1;
      return ZIP_E_LOCAL_HEADER;
    }
    m_current = 0;
  }
  while (m_current < index) {
    if (unzGoToNextFile(m_zip) != UNZ_OK) {
      m_current = -1;
      return ZIP_E_LOCAL_HEADER;
    }
    ++m_current;
  }
  return ZIP_OK;
}

DWORD ZipReader::GetEntry(int index, ZIP_ENTRY_INFO* entry) {
  if (!m_zip || !entry) return ZIP_E_INDEX;
  if (index < -1 || index >= m_count) return ZIP_E_INDEX;
  if (index != -1 && index == m_lastIndex) {
    *entry = m_lastEntry;
    return ZIP_OK;
  }
  if (index == -1) {
    *entry = ZIP_ENTRY_INFO{};
    entry->index = m_count;
    return ZIP_OK;
  }
  DWORD result = MoveTo(index);
  if (result != ZIP_OK) return result;

  unz_file_info64 info;
  char rawName[MAX_PATH] = {};
  if (unzGetCurrentFileInfo64(m_zip, &info, rawName, MAX_PATH - 1, nullptr, 0, nullptr, 0) != UNZ_OK)
    return ZIP_E_LOCAL_HEADER;
  rawName[MAX_PATH - 1] = 0;

  // Opening the data raw checks the local header against the central one and finds
  // the local extra field, which is where the "UT" times live.
  if (unzOpenCurrentFile2(m_zip, nullptr, nullptr, 1) != UNZ_OK) return ZIP_E_LOCAL_HEADER;
  std::vector<uint8_t> extra;
  const int extraSize = unzGetLocalExtrafield(m_zip, nullptr, 0);
  if (extraSize > 0) {
    extra.resize(size_t(extraSize));
    if (unzGetLocalExtrafield(m_zip, extra.data(), unsigned(extraSize)) != extraSize) {
      unzCloseCurrentFile(m_zip);
      return ZIP_E_READ;
    }
  }
  unzCloseCurrentFile(m_zip);

  ZIP_ENTRY_INFO record = {};
  record.index = index;
  wchar_t wideName[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, rawName, -1, wideName, MAX_PATH);
  wideName[MAX_PATH - 1] = 0;
  const std::wstring cleaned = CleanZipEntryName(wideName);
  // Only a device-name prefix can lengthen a name; one that no longer fits is left
  // empty, so that the entry fails instead of landing under a shortened name.
  if (cleaned.size() < MAX_PATH) wcscpy(record.name, cleaned.c_str());

  record.attributes = ZipAttributesToWindows(DWORD(info.external_fa), unsigned(info.version >> 8) & 0xFF);
  FILETIME local = ZipTimeToFileTime(WORD(info.dosDate >> 16), WORD(info.dosDate));
  FILETIME utc = {};
  if (!IsZeroTime(local) && !LocalFileTimeToFileTime(&local, &utc)) utc = FILETIME{};
  record.accessTime = record.creationTime = record.modificationTime = utc;
  ApplyExtraFieldTimes(extra.data(), extra.size(), &record);
  record.compressedSize = DWORD(info.compressed_size);
  record.uncompressedSize = DWORD(info.uncompressed_size);

  m_lastEntry = record;
  m_lastIndex = index;
  *entry = record;
  return ZIP_OK;
}

DWORD ZipReader::ExtractEntry(int index, const wchar_t* name) {
  if (!m_zip) return ZIP_E_INDEX;
  if (index < 0 || index >= m_count) return ZIP_E_INDEX;
  ZIP_ENTRY_INFO entry;
  DWORD result = GetEntry(index, &entry);
  if (result != ZIP_OK) return result;
  result = MoveTo(index);
  if (result != ZIP_OK) return result;

  const std::wstring target = name ? name : L"";
  if (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) {
    CreateFolderPath(IsRooted(target) ? nullptr : m_baseFolder.c_str(), target.c_str());
    return ZIP_OK;
  }

  const size_t cut = target.find_last_of(L"\\/");
  const std::wstring folder = cut == std::wstring::npos ? L"" : target.substr(0, cut + 1);
  const std::wstring fileName = cut == std::wstring::npos ? target : target.substr(cut + 1);
  const bool rooted = IsRooted(folder);
  const std::wstring path = (rooted ? L"" : m_baseFolder) + folder + fileName;
  CreateFolderPath(rooted ? nullptr : m_baseFolder.c_str(), folder.c_str());

  PendingFile file(path, entry.attributes, 0);
  if (!file.IsOpen()) return ZIP_E_OPEN;
  if (unzOpenCurrentFile(m_zip) != UNZ_OK) return ZIP_E_DATA;
  if (m_buffer.empty()) m_buffer.resize(kBufferSize);
  result = CopyEntryData(m_zip, m_buffer, file);
  // Closing the data checks the CRC-32: a mismatch means the file holds damaged data.
  if (unzCloseCurrentFile(m_zip) != UNZ_OK && result == ZIP_OK) result = ZIP_E_DATA;
  if (result == ZIP_OK) {
    auto orNull = [](const FILETIME& ft) { return IsZeroTime(ft) ? nullptr : &ft; };
    SetFileTime(file.Handle(), orNull(entry.creationTime), orNull(entry.accessTime), orNull(entry.modificationTime));
    file.Keep();
  }
  return result;
}

DWORD ZipReader::Close() {
  if (!m_zip) return ZIP_OK;
  unzClose(m_zip);
  m_zip = nullptr;
  m_count = 0;
  m_current = -1;
  m_lastIndex = -1;
  return ZIP_OK;
}

ZIP_HANDLE OpenZipFile(const wchar_t* zipPath) {
  ZipReader* reader = new ZipReader();
  if (reader->Open(zipPath) != ZIP_OK) {
    delete reader;
    return nullptr;
  }
  return new ZipHandleData{ZIP_KIND_READER, reader};
}

DWORD CloseZipFile(ZIP_HANDLE handle) {
  if (!handle) return ZIP_E_INDEX;
  if (handle->kind != ZIP_KIND_READER) return ZIP_E_KIND;
  const DWORD result = handle->reader->Close();
  delete handle->reader;
  delete handle;
  return result;
}

bool ExtractZipToFolder(const wchar_t* zipPath, const wchar_t* folder) {
  ZIP_HANDLE handle = OpenZipFile(zipPath);
  if (!handle) return false;
  ZipReader* reader = handle->reader;
  reader->SetBaseFolder(folder);
  ZIP_ENTRY_INFO entry;
  reader->GetEntry(-1, &entry);
  const int count = entry.index;
  for (int i = 0; i < count; ++i) {
    if (reader->GetEntry(i, &entry) != ZIP_OK) continue;  // no record, no name to extract to
    reader->ExtractEntry(i, entry.name);
  }
  CloseZipFile(handle);
  return true;
}
