// The upgrade's rules apart from the main window: the models' USB ids, which server version
// texts are used, the server's and the temp folder's names, and the package step every
// upgrade shares, against the loopback server and the packages of make_zip_fixtures.py.
#include "app/Upgrade.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "FileBytes.h"
#include "FileProbe.h"
#include "LocalHttpServer.h"
#include "TempFolder.h"

namespace {

using testsupport::HttpRoute;

std::wstring Fixture(const wchar_t* name) { return testsupport::ExecutableFolder() + L"\\fixtures\\zip\\" + name; }
std::string FixtureBytes(const wchar_t* name) { return testsupport::ReadFileBytes(Fixture(name)); }

TEST(UpgradeRules, ModelUsbIdsCoverTheThreeModelsAndZeroTheRest) {
  struct Row {
    int model;
    uint32_t vid, pid, bootVid, bootPid;
  };
  const Row rows[] = {{101, 0x19F5, 0xFD50, 0x19F5, 0xFF30},
                      {102, 0x19F5, 0xFD51, 0x19F5, 0xFF37},
                      {103, 0x19F5, 0xFD52, 0x19F5, 0xFF38},
                      {0, 0, 0, 0, 0},
                      {104, 0, 0, 0, 0}};
  for (const Row& row : rows) {
    uint32_t vid = 1, pid = 1, bootVid = 1, bootPid = 1;  // every output is written
    GetModelUsbIds(row.model, &vid, &pid, &bootVid, &bootPid);
    EXPECT_EQ(row.vid, vid) << row.model;
    EXPECT_EQ(row.pid, pid) << row.model;
    EXPECT_EQ(row.bootVid, bootVid) << row.model;
    EXPECT_EQ(row.bootPid, bootPid) << row.model;
  }
}

TEST(UpgradeRules, ServerVersionTextsAreCleanedAndBoundedByKind) {
  struct Row {
    const wchar_t* server;
    const wchar_t* software;  // null: the software check ends silently
    const wchar_t* firmware;
  };
  const Row rows[] = {
      {L"1.0.0.10", L"1.0.0.10", L"1.0.0.10"},
      {L"1.0.2\r\n", L"1.0.2", L"1.0.2"},
      {L"123456789", L"123456789", L"123456789"},   // 9 characters: both
      {L"1234567890", L"1234567890", L"102"},       // 10: software only
      {L"12345678901", nullptr, L"102"},            // 11: neither
      {L"..\\x", nullptr, L"102"},
      {L"a b", nullptr, L"102"},
      {L"", nullptr, L"102"},
      {L"<html>Not Found</html>", nullptr, L"102"},
  };
  for (const Row& row : rows) {
    CString version = L"stale";
    EXPECT_EQ(row.software != nullptr, ReadSoftwareVersion(row.server, version)) << row.server;
    EXPECT_STREQ(row.software ? row.software : L"", version.GetString()) << row.server;
    EXPECT_STREQ(row.firmware, ReadFirmwareVersion(row.server).GetString()) << row.server;
  }
}

TEST(UpgradeRules, ReleaseNumbersCompareAsHexadecimalVersions) {
  EXPECT_STREQ(L"102", FirmwareReleaseText(0x0102).GetString());
  EXPECT_STREQ(L"10a", FirmwareReleaseText(0x010A).GetString());
  EXPECT_STREQ(L"0", FirmwareReleaseText(0).GetString());
  struct Row {
    const wchar_t *current, *offered;
    bool offers;
  };
  const Row rows[] = {{L"1.0.0.9", L"1.0.0.10", true}, {L"1.0.0.9", L"1.0.1", true},  {L"1.0.0.9", L"1.0.0.8", false},
                      {L"1.0.0.9", L"1.0.0.9", false}, {L"102", L"102", false},       {L"10a", L"102", true},
                      {L"0", L"103", true},            {L"102", L"103", true},        {L"1.0.1", L"1.0.2\r\n", true}};
  for (const Row& row : rows) EXPECT_EQ(row.offers, OffersUpgrade(row.current, row.offered)) << row.current << " " << row.offered;
}

TEST(UpgradeRules, ServerAddressesAndFileNames) {
  const CString software = L"http://h/software-upgrade/", firmware = L"http://h/firmware-upgrade/";
  EXPECT_STREQ(L"http://h/software-upgrade/version", SoftwareVersionUrl(software).GetString());
  EXPECT_STREQ(L"http://h/software-upgrade/TAVIR KEYBOARD-1.0.1.zip", SoftwarePackageUrl(software, L"1.0.1").GetString());
  EXPECT_STREQ(L"TAVIR KEYBOARD-1.0.1.exe", SoftwareInstallerName(L"1.0.1").GetString());
  EXPECT_STREQ(L"http://h/firmware-upgrade/Lynt 65/version", FirmwareVersionUrl(firmware, L"Lynt 65").GetString());
  EXPECT_STREQ(L"http://h/firmware-upgrade///Lynt 65//firmware-103.zip",
               FirmwarePackageUrl(firmware, L"Lynt 65", L"103").GetString());
  EXPECT_STREQ(L"firmware-103.bin", FirmwareImageName(L"103").GetString());
}

TEST(UpgradeRules, OnlyImagesTheFlashersTakeAreFlashable) {
  testsupport::TempFolder folder(L"images");
  struct Row {
    size_t size;
    bool flashable;
  };
  for (const Row& row : {Row{100, true}, Row{11, true}, Row{9, true}, Row{8, false}, Row{0, false},
                         Row{819200, true}, Row{819201, false}}) {
    const std::wstring path = folder.Path() + L"image.bin";
    testsupport::WriteFileBytes(path, std::vector<uint8_t>(row.size, 0x5A));
    EXPECT_EQ(row.flashable, IsFlashableImage(path.c_str())) << row.size << " bytes";
  }
  EXPECT_FALSE(IsFlashableImage((folder.Path() + L"missing.bin").c_str()));
}

class FetchPackageTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { testsupport::BypassProxies(); }
  void SetUp() override { ASSERT_TRUE(m_server.Start()); }

  PackageResult Fetch(const HttpRoute& route) {
    m_server.SetRoute("/firmware-upgrade///Lynt%2065//firmware-103.zip", route);
    const CString url = FirmwarePackageUrl(m_server.Url("/firmware-upgrade/").c_str(), L"Lynt 65", L"103");
    return FetchPackage(m_http, url, Folder(), L"firmware-103.zip", L"firmware-103.bin", nullptr);
  }
  CString Folder() const { return (m_root.Path() + L"temp\\").c_str(); }
  std::wstring InFolder(const wchar_t* name) const { return std::wstring(Folder().GetString()) + name; }

  testsupport::LocalHttpServer m_server;
  testsupport::TempFolder m_root{L"fetch"};
  HttpClient m_http;
};

TEST_F(FetchPackageTest, AGoodPackageLeavesItsImageAndNotItself) {
  ASSERT_EQ(PackageResult::kReady, Fetch(HttpRoute{200, FixtureBytes(L"firmware-103.zip")}));
  EXPECT_EQ("GET /firmware-upgrade///Lynt%2065//firmware-103.zip HTTP/1.1",
            m_server.LastRequest().substr(0, m_server.LastRequest().find("\r\n")))
      << "the path as WinINet sends it";
  EXPECT_EQ(FixtureBytes(L"firmware-103.bin"), testsupport::ReadFileBytes(InFolder(L"firmware-103.bin")));
  EXPECT_FALSE(testsupport::FileExists(InFolder(L"firmware-103.zip")));
}

TEST_F(FetchPackageTest, BadPackagesLeaveNoImageAndNothingOutsideTheFolder) {
  struct Row {
    const char* name;
    HttpRoute route;
    PackageResult result;
    bool packageStays;  // only a package that did not unpack stays
  };
  const std::string good = FixtureBytes(L"firmware-103.zip");
  HttpRoute cut{200, good};
  cut.cutAfter = good.size() / 2;
  const Row rows[] = {
      {"not found", HttpRoute{404, "Not Found"}, PackageResult::kDownloadFailed, false},
      {"cut half-way", cut, PackageResult::kDownloadFailed, false},
      {"not a zip", HttpRoute{200, FixtureBytes(L"notzip.zip")}, PackageResult::kUnusable, true},
      {"entries leaving the folder", HttpRoute{200, FixtureBytes(L"firmware-escape.zip")}, PackageResult::kUnusable,
       false},
      {"corrupt image entry", HttpRoute{200, FixtureBytes(L"firmware-corrupt.zip")}, PackageResult::kUnusable, false},
      {"no image", HttpRoute{200, FixtureBytes(L"software-noinstaller.zip")}, PackageResult::kUnusable, false},
  };
  for (const Row& row : rows) {
    // An image of the expected name left from before must not pass for this package's.
    CreateDirectoryW(Folder(), nullptr);
    testsupport::WriteFileBytes(InFolder(L"firmware-103.bin"), {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    EXPECT_EQ(row.result, Fetch(row.route)) << row.name;
    EXPECT_FALSE(testsupport::FileExists(InFolder(L"firmware-103.bin"))) << row.name;
    for (const std::wstring& entry : testsupport::ListTree(m_root.Path())) {
      EXPECT_EQ(0u, entry.rfind(L"temp\\", 0)) << row.name << ": " << std::string(entry.begin(), entry.end());
    }
    EXPECT_EQ(row.packageStays, testsupport::FileExists(InFolder(L"firmware-103.zip"))) << row.name;
    testsupport::DeleteTree(Folder().GetString());
  }
}

}  // namespace
