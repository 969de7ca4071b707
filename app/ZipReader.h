// Unpacking of zip archives (the upgrade packages) below a folder, over the minizip
// reader. A ZipReader holds one open archive (an entry's data is open only inside a
// call) and is used by one thread at a time. OpenZipFile makes a reader, CloseZipFile
// frees it. Entry names are cleaned so that no entry reaches outside the base folder, and an
// entry that cannot be extracted whole leaves no file behind.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Result codes of the reader's operations; 0 is success.
constexpr DWORD ZIP_OK = 0;
constexpr DWORD ZIP_E_OPEN = 0x200;          // archive not opened / no zip; output file not created
constexpr DWORD ZIP_E_WRITE = 0x400;         // writing an output file failed
constexpr DWORD ZIP_E_LOCAL_HEADER = 0x700;  // the entry's local header is damaged or unreachable
constexpr DWORD ZIP_E_READ = 0x800;          // reading or positioning in the archive failed
constexpr DWORD ZIP_E_ENCRYPTED = 0x1000;    // the entry needs a password
constexpr DWORD ZIP_E_INDEX = 0x10000;       // index out of range, or no handle
constexpr DWORD ZIP_E_KIND = 0x80000;        // a handle of another kind
constexpr DWORD ZIP_E_BUSY = 0x1000000;      // the reader already has an archive or an open entry
constexpr DWORD ZIP_E_DATA = 0x5000000;      // compressed data damaged, ended early or failed its CRC

// One entry's header in Windows terms. For index -1 (the summary record) the index
// field holds the number of entries and everything else is zero.
struct ZIP_ENTRY_INFO {
  int index;
  wchar_t name[MAX_PATH];
  DWORD attributes;
  FILETIME accessTime;
  FILETIME creationTime;
  FILETIME modificationTime;
  DWORD compressedSize;
  DWORD uncompressedSize;
};

class ZipReader {
public:
  ZipReader();
  ~ZipReader();
  ZipReader(const ZipReader&) = delete;
  ZipReader& operator=(const ZipReader&) = delete;

  DWORD Open(const wchar_t* zipPath);
  DWORD SetBaseFolder(const wchar_t* folder);
  DWORD GetEntry(int index, ZIP_ENTRY_INFO* entry);
  DWORD ExtractEntry(int index, const wchar_t* name);
  DWORD Close();

private:
  DWORD MoveTo(int index);

  void* m_zip;    // minizip archive handle, null while closed
  int m_count;    // entries reachable through the central directory
  int m_current;  // the archive's current entry, -1 when unknown
  ZIP_ENTRY_INFO m_lastEntry;
  int m_lastIndex;             // index of m_lastEntry, -1 when none
  std::wstring m_baseFolder;   // always ends with "\" or "/"
  std::vector<char> m_buffer;  // extraction buffer, made at the first extraction
};

constexpr int ZIP_KIND_READER = 1;
struct ZipHandleData {
  int kind;
  ZipReader* reader;
};
typedef ZipHandleData* ZIP_HANDLE;

// Opens the archive in a new reader; null when it cannot be opened.
ZIP_HANDLE OpenZipFile(const wchar_t* zipPath);
// Closes the archive and frees the reader and the handle.
DWORD CloseZipFile(ZIP_HANDLE handle);
// Extracts every entry below folder. False only when the archive cannot be opened;
// entries that fail are skipped (and leave no file).
bool ExtractZipToFolder(const wchar_t* zipPath, const wchar_t* folder);

// Creates root (when given and missing) and every folder of path below it.
void CreateFolderPath(const wchar_t* root, const wchar_t* path);
// An MS-DOS date and time as a FILETIME in local time; zero when it is no calendar time.
FILETIME ZipTimeToFileTime(WORD dosDate, WORD dosTime);

// Pure helpers of the reader, exposed for tests.
// The entry name made safe to append to a folder: drive prefixes, leading separators,
// everything up to a ".." part, "." parts and parts of only dots and spaces are dropped,
// ":" becomes "_" and device names (CON, NUL, COM1 ...) get a "_" in front.
std::wstring CleanZipEntryName(const std::wstring& name);
// Windows file attributes from the external attributes and the host byte of the
// version-made-by field.
DWORD ZipAttributesToWindows(DWORD externalAttributes, unsigned host);
// Reads the "UT" block of a local extra field into the record's times, where present.
void ApplyExtraFieldTimes(const uint8_t* extra, size_t size, ZIP_ENTRY_INFO* entry);
