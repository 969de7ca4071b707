#include "app/Upgrade.h"

#include <memory>

#include "app/ProgramFolders.h"
#include "app/Startup.h"
#include "app/VersionCompare.h"
#include "app/ZipReader.h"
#include "device/FirmwareImage.h"

namespace {

struct ModelUsbIds {
  int modelId;
  uint32_t vid, pid, bootVid, bootPid;
};

constexpr ModelUsbIds kModelUsbIds[] = {
    {101, 0x19F5, 0xFD50, 0x19F5, 0xFF30},
    {102, 0x19F5, 0xFD51, 0x19F5, 0xFF37},
    {103, 0x19F5, 0xFD52, 0x19F5, 0xFF38},
};

constexpr wchar_t kSoftwarePackage[] = L"TAVIR KEYBOARD-%s.zip";
constexpr wchar_t kSoftwareInstaller[] = L"TAVIR KEYBOARD-%s.exe";
constexpr wchar_t kFirmwarePackage[] = L"firmware-%s.zip";
constexpr wchar_t kFirmwareImage[] = L"firmware-%s.bin";

CString Formatted(const wchar_t* format, const CString& value) {
  CString text;
  text.Format(format, value.GetString());
  return text;
}

bool FileExists(const CString& path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

// A file, not a folder, of that name: a package may hold a folder named like the file it
// should hold.
bool IsFile(const CString& path) {
  const DWORD attributes = GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void DeleteIfPresent(const CString& path) {
  if (FileExists(path)) DeleteFileW(path);
}

}  // namespace

void GetModelUsbIds(int modelId, uint32_t* vid, uint32_t* pid, uint32_t* bootVid, uint32_t* bootPid) {
  ModelUsbIds ids{modelId, 0, 0, 0, 0};
  for (const ModelUsbIds& row : kModelUsbIds) {
    if (row.modelId == modelId) ids = row;
  }
  *vid = ids.vid;
  *pid = ids.pid;
  *bootVid = ids.bootVid;
  *bootPid = ids.bootPid;
}

bool ReadSoftwareVersion(const CString& serverText, CString& version) {
  if (CleanVersionText(serverText, version) && version.GetLength() <= kSoftwareVersionMax) return true;
  version.Empty();
  return false;
}

CString ReadFirmwareVersion(const CString& serverText) {
  CString version;
  if (CleanVersionText(serverText, version) && version.GetLength() <= kFirmwareVersionMax) return version;
  return kAssumedFirmwareVersion;
}

CString FirmwareReleaseText(uint16_t release) {
  CString text;
  text.Format(L"%x", static_cast<unsigned>(release));
  return text;
}

bool OffersUpgrade(const CString& current, const CString& offered) { return CompareVersions(current, offered) >= 1; }

CString SoftwareVersionUrl(const CString& softwareBase) { return softwareBase + L"version"; }

CString SoftwarePackageName(const CString& version) { return Formatted(kSoftwarePackage, version); }

CString SoftwareInstallerName(const CString& version) { return Formatted(kSoftwareInstaller, version); }

CString SoftwarePackageUrl(const CString& softwareBase, const CString& version) {
  return softwareBase + SoftwarePackageName(version);
}

CString FirmwareVersionUrl(const CString& firmwareBase, const CString& modelFolder) {
  return firmwareBase + modelFolder + L"/version";
}

CString FirmwarePackageName(const CString& version) { return Formatted(kFirmwarePackage, version); }

CString FirmwareImageName(const CString& version) { return Formatted(kFirmwareImage, version); }

CString FirmwarePackageUrl(const CString& firmwareBase, const CString& modelFolder, const CString& version) {
  CString url;
  url.Format(L"%s//%s//%s", firmwareBase.GetString(), modelFolder.GetString(),
             FirmwarePackageName(version).GetString());
  return url;
}

CString UpgradeDownloadFolder() { return GetDataFolder() + L"temp\\"; }

PackageResult FetchPackage(HttpClient& http, const CString& url, const CString& folder, const CString& packageName,
                           const CString& expectedName, HWND window) {
  const CString package = folder + packageName;
  const CString expected = folder + expectedName;
  CreateFolderTree(folder);
  DeleteIfPresent(package);
  // Whatever is found afterwards under the expected name must come from this package.
  DeleteIfPresent(expected);
  http.DownloadFile(url, package, window);
  if (!FileExists(package)) return PackageResult::kDownloadFailed;
  // A package that does not unpack stays, as the server sent it.
  if (ExtractZipToFolder(package, folder)) DeleteFileW(package);
  return IsFile(expected) ? PackageResult::kReady : PackageResult::kUnusable;
}

bool IsFlashableImage(const CString& path) {
  auto buffer = std::make_unique<uint8_t[]>(kFirmwareImageCapacity);
  return LoadFirmwareImage(path, buffer.get()) > kFirmwareImageTooShort;
}
