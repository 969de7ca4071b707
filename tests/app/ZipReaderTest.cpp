// The archives come from tests/support/make_zip_fixtures.py (built into
// <bin>/fixtures/zip); the expectations here follow the entries written there.
#include "app/ZipReader.h"

#include <chrono>
#include <random>

#include <gtest/gtest.h>

#include "FileBytes.h"
#include "FileProbe.h"
#include "TempFolder.h"

namespace {

using testsupport::FileExists;
using testsupport::ListTree;
using testsupport::ReadFileBytes;

std::wstring Fixture(const wchar_t* name) { return testsupport::ExecutableFolder() + L"\\fixtures\\zip\\" + name; }

// The body the fixture script writes for an entry: its label, then filler bytes.
std::string FixtureText(const std::string& label, size_t size = 0) {
  std::string data = label;
  for (size_t i = 0; data.size() < size; ++i) data += char((i * 7 + i / 251) & 0xFF);
  return data;
}

uint64_t Ticks(const FILETIME& ft) { return uint64_t(ft.dwHighDateTime) << 32 | ft.dwLowDateTime; }
uint64_t UnixTicks(uint32_t seconds) { return uint64_t(seconds) * 10000000ULL + 116444736000000000ULL; }
uint64_t DosTicksUtc(int year, int month, int day, int hour, int minute, int second) {
  const WORD date = WORD((year - 1980) << 9 | month << 5 | day);
  const WORD time = WORD(hour << 11 | minute << 5 | second / 2);
  const FILETIME local = ZipTimeToFileTime(date, time);
  FILETIME utc = {};
  LocalFileTimeToFileTime(&local, &utc);
  return Ticks(utc);
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// Opens a fixture in a reader whose base folder is folder; closed again by the owner.
class OpenArchive {
public:
  OpenArchive(const wchar_t* fixture, const std::wstring& folder) : m_handle(OpenZipFile(Fixture(fixture).c_str())) {
    if (m_handle) m_handle->reader->SetBaseFolder(folder.c_str());
  }
  ~OpenArchive() { CloseZipFile(m_handle); }
  ZipReader* operator->() const { return m_handle->reader; }
  explicit operator bool() const { return m_handle != nullptr; }

private:
  ZIP_HANDLE m_handle;
};

TEST(ZipReaderTest, ExtractsNestedFoldersAndFilesInManyBlocks) {
  testsupport::TempFolder sandbox(L"zip_nested");
  const std::wstring target = sandbox.Path() + L"out";
  ASSERT_TRUE(ExtractZipToFolder(Fixture(L"nested.zip").c_str(), target.c_str()));
  EXPECT_EQ((std::vector<std::wstring>{L"a\\", L"a\\b\\", L"a\\b\\c.txt", L"a\\b\\d\\", L"a\\b\\d\\big.bin", L"top.txt",
                                       L"x\\", L"x\\y\\", L"x\\y\\implicit.txt"}),
            ListTree(target));
  EXPECT_EQ("top", ReadFileBytes(target + L"\\top.txt"));
  EXPECT_EQ(std::string(40, 'c'), ReadFileBytes(target + L"\\a\\b\\c.txt"));
  EXPECT_EQ(FixtureText("big", 100000), ReadFileBytes(target + L"\\a\\b\\d\\big.bin"));
}

TEST(ZipReaderTest, EveryEntryNameLandsInsideTheTarget) {
  struct Case {
    const char* stored;      // the name in the archive
    const wchar_t* cleaned;  // the record's name
    const wchar_t* onDisk;   // where the file lands, relative to the target
  } const cases[] = {
      {"../../escape1.txt", L"escape1.txt", L"escape1.txt"},
      {"..\\..\\escape2.txt", L"escape2.txt", L"escape2.txt"},
      {"/abs3.txt", L"abs3.txt", L"abs3.txt"},
      {"\\\\server\\share\\unc4.txt", L"server\\share\\unc4.txt", L"server\\share\\unc4.txt"},
      {"C:\\drive5.txt", L"drive5.txt", L"drive5.txt"},
      {"C:/x/drive6.txt", L"x/drive6.txt", L"x\\drive6.txt"},
      {"a/b/../../../escape7.txt", L"escape7.txt", L"escape7.txt"},
      {"a\\../..\\mixed8.txt", L"mixed8.txt", L"mixed8.txt"},
      {"../tail9.txt", L"tail9.txt", L"tail9.txt"},
      {"stream10.txt:hidden", L"stream10.txt_hidden", L"stream10.txt_hidden"},
      {"x/./y/.../z11.txt", L"x/y/z11.txt", L"x\\y\\z11.txt"},
      {"D:..\\drive12.txt", L"drive12.txt", L"drive12.txt"},
      {".. /dotspace13.txt", L"dotspace13.txt", L"dotspace13.txt"},
      {"CON", L"_CON", L"_CON"},
      {"dev/nul.txt", L"dev/_nul.txt", L"dev\\_nul.txt"},
      {"safe.txt", L"safe.txt", L"safe.txt"},
  };
  testsupport::TempFolder sandbox(L"zip_unsafe");
  const std::wstring target = sandbox.Path() + L"deep\\target";
  CreateDirectoryW((sandbox.Path() + L"deep").c_str(), nullptr);
  ASSERT_TRUE(ExtractZipToFolder(Fixture(L"unsafe.zip").c_str(), target.c_str()));

  OpenArchive archive(L"unsafe.zip", target);
  ASSERT_TRUE(archive);
  for (int i = 0; i < int(std::size(cases)); ++i) {
    const Case& c = cases[i];
    ZIP_ENTRY_INFO entry;
    ASSERT_EQ(ZIP_OK, archive->GetEntry(i, &entry)) << c.stored;
    EXPECT_STREQ(c.cleaned, entry.name) << c.stored;
    EXPECT_EQ(FixtureText(c.stored), ReadFileBytes(target + L"\\" + c.onDisk)) << c.stored;
  }
  for (const std::wstring& path : ListTree(sandbox.Path())) {
    EXPECT_TRUE(path == L"deep\\" || path.rfind(L"deep\\target\\", 0) == 0) << "written outside: " << path;
  }
}

TEST(ZipReaderTest, AttributesFollowTheHostOfEachEntry) {
  struct Case {
    const wchar_t* name;
    DWORD attributes;
  } const cases[] = {
      {L"readonly.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE},  // Unix mode 0444
      {L"writable.txt", FILE_ATTRIBUTE_ARCHIVE},                            // Unix mode 0644
      {L"unixdir", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE},      // Unix S_IFDIR, no slash
      {L"dos_hidden.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE},  // DOS bits kept as they are
      {L"dos_ro.txt", FILE_ATTRIBUTE_READONLY},
      {L"dos_dir", FILE_ATTRIBUTE_DIRECTORY},
  };
  testsupport::TempFolder sandbox(L"zip_attributes");
  ASSERT_TRUE(ExtractZipToFolder(Fixture(L"attributes.zip").c_str(), sandbox.Path().c_str()));
  OpenArchive archive(L"attributes.zip", sandbox.Path());
  ASSERT_TRUE(archive);
  for (int i = 0; i < int(std::size(cases)); ++i) {
    const Case& c = cases[i];
    ZIP_ENTRY_INFO entry;
    ASSERT_EQ(ZIP_OK, archive->GetEntry(i, &entry)) << c.name;
    EXPECT_EQ(c.attributes, entry.attributes) << c.name;
    const DWORD onDisk = GetFileAttributesW((sandbox.Path() + c.name).c_str());
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, onDisk) << c.name;
    const DWORD checked = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY;
    EXPECT_EQ(c.attributes & checked, onDisk & checked) << c.name;
  }
}

TEST(ZipReaderTest, TimesComeFromTheUtBlockOrElseFromTheDosStamp) {
  struct Case {
    const wchar_t* name;
    uint64_t modification, access, creation;
  } const cases[] = {
      // Only the modification time in "UT": the other two keep the DOS stamp.
      {L"ut.txt", UnixTicks(1600000000), DosTicksUtc(2001, 2, 3, 4, 5, 6), DosTicksUtc(2001, 2, 3, 4, 5, 6)},
      {L"ut_all.txt", UnixTicks(1500000000), UnixTicks(1400000000), UnixTicks(1300000000)},
      {L"dos.txt", DosTicksUtc(2010, 6, 15, 12, 30, 44), DosTicksUtc(2010, 6, 15, 12, 30, 44),
       DosTicksUtc(2010, 6, 15, 12, 30, 44)},
  };
  testsupport::TempFolder sandbox(L"zip_times");
  ASSERT_TRUE(ExtractZipToFolder(Fixture(L"times.zip").c_str(), sandbox.Path().c_str()));
  OpenArchive archive(L"times.zip", sandbox.Path());
  ASSERT_TRUE(archive);
  for (int i = 0; i < int(std::size(cases)); ++i) {
    const Case& c = cases[i];
    ZIP_ENTRY_INFO entry;
    ASSERT_EQ(ZIP_OK, archive->GetEntry(i, &entry));
    EXPECT_EQ(c.modification, Ticks(entry.modificationTime)) << c.name;
    EXPECT_EQ(c.access, Ticks(entry.accessTime)) << c.name;
    EXPECT_EQ(c.creation, Ticks(entry.creationTime)) << c.name;

    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExW((sandbox.Path() + c.name).c_str(), GetFileExInfoStandard, &data)) << c.name;
    EXPECT_EQ(c.modification, Ticks(data.ftLastWriteTime)) << c.name;
  }

  // A block that promises more times than it holds gives only those it holds.
  const uint8_t shortBlock[] = {'U', 'T', 5, 0, 7, 0x00, 0xF1, 0x53, 0x65, 0xAA, 0xBB};
  ZIP_ENTRY_INFO entry = {};
  ApplyExtraFieldTimes(shortBlock, sizeof(shortBlock), &entry);
  EXPECT_EQ(UnixTicks(0x6553F100), Ticks(entry.modificationTime));
  EXPECT_EQ(0u, Ticks(entry.accessTime));
}

TEST(ZipReaderTest, AFailedEntryLeavesNoFileAndTheOthersAreExtracted) {
  struct Case {
    const wchar_t* archive;
    const wchar_t* name;
    DWORD code;
  } const cases[] = {
      {L"encrypted.zip", L"plain1.txt", ZIP_OK},
      {L"encrypted.zip", L"secret.txt", ZIP_E_ENCRYPTED},
      {L"encrypted.zip", L"plain2.txt", ZIP_OK},
      {L"damaged.zip", L"good1.txt", ZIP_OK},
      {L"damaged.zip", L"inflate_error.txt", ZIP_E_DATA},
      {L"damaged.zip", L"cut_short.txt", ZIP_E_DATA},
      {L"damaged.zip", L"bad_crc.txt", ZIP_E_DATA},
      {L"damaged.zip", L"bad_header.txt", ZIP_E_LOCAL_HEADER},
      {L"damaged.zip", L"good2.txt", ZIP_OK},
  };
  for (const wchar_t* name : {L"encrypted.zip", L"damaged.zip"}) {
    testsupport::TempFolder sandbox(L"zip_failed");
    EXPECT_TRUE(ExtractZipToFolder(Fixture(name).c_str(), sandbox.Path().c_str())) << name;
    std::vector<std::wstring> expected;
    for (const Case& c : cases) {
      if (c.code == ZIP_OK && std::wstring(c.archive) == name) expected.push_back(c.name);
    }
    EXPECT_EQ(expected, ListTree(sandbox.Path())) << name;
  }

  testsupport::TempFolder sandbox(L"zip_codes");
  for (const wchar_t* name : {L"encrypted.zip", L"damaged.zip"}) {
    OpenArchive archive(name, sandbox.Path());
    ASSERT_TRUE(archive);
    int index = 0;
    for (const Case& c : cases) {
      if (std::wstring(c.archive) != name) continue;
      EXPECT_EQ(c.code, archive->ExtractEntry(index++, c.name)) << c.name;
      EXPECT_EQ(c.code == ZIP_OK, FileExists(sandbox.Path() + c.name)) << c.name;
    }
  }
}

TEST(ZipReaderTest, ArchivesThatDoNotOpenWriteNothing) {
  testsupport::TempFolder sandbox(L"zip_plain");
  const std::wstring notZip = Fixture(L"notzip.zip");
  const std::string before = ReadFileBytes(notZip);
  EXPECT_FALSE(ExtractZipToFolder(notZip.c_str(), (sandbox.Path() + L"a").c_str()));
  EXPECT_EQ(before, ReadFileBytes(notZip));
  EXPECT_FALSE(ExtractZipToFolder((sandbox.Path() + L"absent.zip").c_str(), (sandbox.Path() + L"b").c_str()));
  // minizip finds no end record at offset 0, so an archive without entries does not open.
  EXPECT_FALSE(ExtractZipToFolder(Fixture(L"empty.zip").c_str(), (sandbox.Path() + L"c").c_str()));
  EXPECT_TRUE(ListTree(sandbox.Path()).empty());
}

TEST(ZipReaderTest, HandlesIndexesAndReopeningAreChecked) {
  EXPECT_EQ(ZIP_E_INDEX, CloseZipFile(nullptr));
  ZipHandleData foreign{2, nullptr};
  EXPECT_EQ(ZIP_E_KIND, CloseZipFile(&foreign));

  testsupport::TempFolder sandbox(L"zip_handles");
  OpenArchive archive(L"nested.zip", sandbox.Path());
  ASSERT_TRUE(archive);
  ZIP_ENTRY_INFO entry;
  ASSERT_EQ(ZIP_OK, archive->GetEntry(-1, &entry));
  EXPECT_EQ(6, entry.index);
  EXPECT_EQ(ZIP_E_INDEX, archive->GetEntry(6, &entry));
  EXPECT_EQ(ZIP_E_INDEX, archive->GetEntry(-2, &entry));
  EXPECT_EQ(ZIP_E_INDEX, archive->ExtractEntry(-1, L"x"));
  EXPECT_EQ(ZIP_E_BUSY, archive->Open(Fixture(L"nested.zip").c_str()));
  // Going back to an earlier entry after a later one.
  ASSERT_EQ(ZIP_OK, archive->GetEntry(4, &entry));
  EXPECT_STREQ(L"a/b/d/big.bin", entry.name);
  ASSERT_EQ(ZIP_OK, archive->ExtractEntry(0, L"first.txt"));
  EXPECT_EQ("top", ReadFileBytes(sandbox.Path() + L"first.txt"));
}

// Damaged archives (random bytes changed, or cut) never crash the reader and never
// make it write outside the target folder.
TEST(ZipReaderTest, MutatedArchivesStayInsideTheTarget) {
  const wchar_t* const sources[] = {L"nested.zip", L"unsafe.zip",    L"attributes.zip",
                                    L"times.zip",  L"encrypted.zip", L"damaged.zip"};
  std::vector<std::string> originals;
  for (const wchar_t* source : sources) originals.push_back(ReadFileBytes(Fixture(source)));

  testsupport::TempFolder sandbox(L"zip_mutated");
  const std::wstring archive = sandbox.Path() + L"m.zip";
  const std::wstring target = sandbox.Path() + L"deep\\target";
  CreateDirectoryW((sandbox.Path() + L"deep").c_str(), nullptr);
  std::mt19937 random(20);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  int runs = 0;
  for (; runs < 120 && std::chrono::steady_clock::now() < deadline; ++runs) {
    std::string bytes = originals[random() % originals.size()];
    const int changes = 1 + int(random() % 8);
    for (int i = 0; i < changes; ++i) bytes[random() % bytes.size()] = char(random());
    if (random() % 8 == 0) bytes.resize(random() % bytes.size());
    testsupport::WriteFileBytes(archive, std::vector<uint8_t>(bytes.begin(), bytes.end()));

    ExtractZipToFolder(archive.c_str(), target.c_str());
    for (const std::wstring& path : ListTree(sandbox.Path())) {
      ASSERT_TRUE(path == L"m.zip" || path == L"deep\\" || path.rfind(L"deep\\target\\", 0) == 0)
          << "run " << runs << " wrote outside the target: " << Narrow(path);
    }
    testsupport::DeleteTree(target);
  }
  EXPECT_GE(runs, 20) << "too few runs in the time allowed";
}

}  // namespace
