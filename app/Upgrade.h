// The software and firmware upgrade's own rules, apart from the main window: the models' USB
// ids, which server version texts are used, the names and addresses of the files on the
// download server and in the temp folder, and the package step that every upgrade shares
// (download, unpack, find the expected file). Plain functions; the package step blocks the
// calling thread (the worker) for the whole download.
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/HttpClient.h"
#include "ui/core/CString.h"

// USB ids of a model and of its bootloader; every output is written, 0 for an unknown model.
void GetModelUsbIds(int modelId, uint32_t* vid, uint32_t* pid, uint32_t* bootVid, uint32_t* bootPid);

// Longest version texts the server may give.
constexpr int kSoftwareVersionMax = 10;
constexpr int kFirmwareVersionMax = 9;
// The firmware version assumed when the server gives none that can be used.
constexpr wchar_t kAssumedFirmwareVersion[] = L"102";

// The software version in the server's text: true with version set when the cleaned text
// (CleanVersionText) has at most kSoftwareVersionMax characters; false, version empty, else.
bool ReadSoftwareVersion(const CString& serverText, CString& version);
// The firmware version in the server's text: the cleaned text when it has at most
// kFirmwareVersionMax characters, else kAssumedFirmwareVersion.
CString ReadFirmwareVersion(const CString& serverText);
// A keyboard's release number as the firmware version it is compared as: lower-case
// hexadecimal without leading zeros (0x0102 gives "102", 0x010A "10a", none 0 "0").
CString FirmwareReleaseText(uint16_t release);
// True when offered should be installed over current (newer, or of another shape).
bool OffersUpgrade(const CString& current, const CString& offered);

// Files on the download server. The bases end with a slash; the firmware package's address
// keeps the server's own double slashes between its parts.
CString SoftwareVersionUrl(const CString& softwareBase);
CString SoftwarePackageName(const CString& version);    // "TAVIR KEYBOARD-<v>.zip"
CString SoftwareInstallerName(const CString& version);  // "TAVIR KEYBOARD-<v>.exe"
CString SoftwarePackageUrl(const CString& softwareBase, const CString& version);
CString FirmwareVersionUrl(const CString& firmwareBase, const CString& modelFolder);
CString FirmwarePackageName(const CString& version);  // "firmware-<v>.zip"
CString FirmwareImageName(const CString& version);    // "firmware-<v>.bin"
CString FirmwarePackageUrl(const CString& firmwareBase, const CString& modelFolder, const CString& version);
// The download folder below the data folder ("<data>temp\").
CString UpgradeDownloadFolder();

// What the package step left.
enum class PackageResult {
  kReady,           // the expected file is in the folder, from this package
  kDownloadFailed,  // nothing arrived
  kUnusable,        // not a zip, or the expected file is not in it
};

// Creates folder, removes an old package and an old file of the expected name, downloads url
// to folder + packageName with progress to window, unpacks it into folder (the package is
// deleted once it unpacked) and looks for folder + expectedName.
PackageResult FetchPackage(HttpClient& http, const CString& url, const CString& folder, const CString& packageName,
                           const CString& expectedName, HWND window);

// True when the image file is one the flashers take (LoadFirmwareImage's rule): more than ten
// bytes and no more than their buffer holds.
bool IsFlashableImage(const CString& path);
