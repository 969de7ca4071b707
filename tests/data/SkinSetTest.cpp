// The staged skin set against skins/manifest.txt: every listed picture is in the program
// folder, decodes through GDI+ as the program loads it, and has the listed size and frames.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ui/core/GdiplusHeaders.h"

namespace {

struct SkinEntry {
  std::string path;  // relative to skins\theme1, '/' separated
  int frames = 0;
  UINT width = 0;
  UINT height = 0;
};

// Test paths come as Unix paths from the build; Wine maps them through drive Z:.
std::wstring WindowsPath(const std::string& unixPath) {
  std::wstring out = unixPath.size() > 1 && unixPath[0] == '/' ? L"Z:" : L"";
  for (char ch : unixPath) out += ch == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(ch));
  return out;
}

std::string EnvOrEmpty(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

std::vector<SkinEntry> ReadManifest(const std::string& file) {
  std::vector<SkinEntry> entries;
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    line = line.substr(0, line.find('#'));
    std::istringstream fields(line);
    SkinEntry e;
    if (fields >> e.path >> e.frames >> e.width >> e.height) entries.push_back(e);
  }
  return entries;
}

std::string Extension(const std::string& path) { return path.substr(path.rfind('.') + 1); }

// Every file below a folder (given with a trailing '/'), as '/'-separated paths relative to it.
std::vector<std::string> FilesBelow(const std::string& root) {
  std::vector<std::string> files;
  std::vector<std::string> pending{""};
  while (!pending.empty()) {
    const std::string sub = pending.back();
    pending.pop_back();
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW((WindowsPath(root + sub) + L"*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) continue;
    do {
      std::string name;
      for (const wchar_t* p = found.cFileName; *p; ++p) name += static_cast<char>(*p);
      if (name == "." || name == "..") continue;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        pending.push_back(sub + name + "/");
      } else {
        files.push_back(sub + name);
      }
    } while (FindNextFileW(h, &found));
    FindClose(h);
  }
  return files;
}

// Widths of the entries of an icon file (its directory: 6-byte header, 16 bytes per entry,
// width 0 meaning 256); empty when the file is missing or is no icon file.
std::vector<UINT> IconEntryWidths(const std::wstring& file) {
  std::vector<UINT> widths;
  HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return widths;
  unsigned char dir[6 + 16 * 16] = {};
  DWORD got = 0;
  ReadFile(h, dir, sizeof dir, &got, nullptr);
  CloseHandle(h);
  const unsigned count = got >= 6 && dir[0] == 0 && dir[1] == 0 && dir[2] == 1 && dir[3] == 0 ? dir[4] : 0;
  for (unsigned i = 0; i < count && 6 + 16 * (i + 1) <= got; ++i)
    widths.push_back(dir[6 + 16 * i] ? dir[6 + 16 * i] : 256);
  return widths;
}

class SkinSetTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token_, &input, nullptr);
  }
  static void TearDownTestSuite() { Gdiplus::GdiplusShutdown(token_); }

  void SetUp() override {
    manifest_ = ReadManifest(EnvOrEmpty("TAVIR_SOURCE_DIR") + "/skins/manifest.txt");
    skinDir_ = EnvOrEmpty("TAVIR_PROGRAM_DIR") + "/skins/theme1/";
    ASSERT_GT(manifest_.size(), 100u) << "manifest not found or nearly empty";
  }

  std::wstring Staged(const std::string& path) const { return WindowsPath(skinDir_ + path); }

  static ULONG_PTR token_;
  std::vector<SkinEntry> manifest_;
  std::string skinDir_;
};
ULONG_PTR SkinSetTest::token_ = 0;

// Each picture as the library will see it: the right decoder, the listed size, whole frames,
// and for the GIFs more than one time frame, since the animations select frames by time.
TEST_F(SkinSetTest, EveryListedPictureDecodesWithItsSizeAndFrames) {
  for (const SkinEntry& e : manifest_) {
    SCOPED_TRACE(e.path);
    ASSERT_GT(e.frames, 0);
    EXPECT_EQ(0u, e.width % e.frames) << "frame width would be cut";
    const std::string ext = Extension(e.path);
    if (ext == "ico") {  // GDI+ decodes only an icon file's first entry; its directory tells all sizes
      const std::vector<UINT> widths = IconEntryWidths(Staged(e.path));
      if (widths.empty()) {
        ADD_FAILURE() << "missing or not an icon file";
        continue;
      }
      EXPECT_EQ(e.width, *std::max_element(widths.begin(), widths.end()));
      for (UINT small : {16u, 32u}) EXPECT_NE(widths.end(), std::find(widths.begin(), widths.end(), small)) << small;
      continue;
    }
    Gdiplus::Image image(Staged(e.path).c_str());
    if (image.GetLastStatus() != Gdiplus::Ok) {
      ADD_FAILURE() << "missing or undecodable";
      continue;
    }
    EXPECT_EQ(e.width, image.GetWidth());
    EXPECT_EQ(e.height, image.GetHeight());
    GUID format{};
    image.GetRawFormat(&format);
    const GUID expected = ext == "png" ? Gdiplus::ImageFormatPNG : Gdiplus::ImageFormatGIF;
    EXPECT_TRUE(IsEqualGUID(expected, format)) << "content is not " << ext;
    if (ext == "gif") {
      EXPECT_GT(image.GetFrameCount(&Gdiplus::FrameDimensionTime), 1u) << "not animated";
    }
  }
}

// A misspelt or forgotten picture shows up as a file the manifest does not know.
TEST_F(SkinSetTest, StagedFolderHoldsOnlyListedFiles) {
  std::set<std::string> listed;
  for (const SkinEntry& e : manifest_) listed.insert(e.path);
  std::vector<std::string> stray;
  for (const std::string& file : FilesBelow(skinDir_)) {
    if (!listed.count(file)) stray.push_back(file);
  }
  EXPECT_TRUE(stray.empty()) << "first stray file: " << (stray.empty() ? "" : stray.front());
}

// Image names written in the program's and the library's code must be files of the set, so a
// misspelt name fails here instead of leaving a control without its picture. Names are written
// with "\\" or "//" between folder and file; formatted names (with %) are not checked.
TEST_F(SkinSetTest, EveryImageNamedInTheCodeIsListed) {
  std::set<std::string> listed;
  for (const SkinEntry& e : manifest_) listed.insert(e.path);
  const std::regex literal(R"re("((?:\w+(?:\\\\|//?))*\w+\.(?:png|gif|ico))")re");
  const std::regex separator(R"re(\\\\|//?)re");
  std::vector<std::string> unknown;
  const std::string source = EnvOrEmpty("TAVIR_SOURCE_DIR") + "/";
  for (const std::string area : {"app/", "ui/"}) {
    for (const std::string& file : FilesBelow(source + area)) {
      const std::string ext = Extension(file);
      if (ext != "cpp" && ext != "h") continue;
      std::ifstream in(source + area + file);
      const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      for (std::sregex_iterator m(text.begin(), text.end(), literal), end; m != end; ++m) {
        const std::string name = std::regex_replace((*m)[1].str(), separator, "/");
        if (!listed.count(name)) unknown.push_back(area + file + ": " + name);
      }
    }
  }
  EXPECT_TRUE(unknown.empty()) << unknown.size() << " unknown, first " << (unknown.empty() ? "" : unknown.front());
}

// The tray loads the icon file at the small sizes, the window at both; the program carries
// the same picture as its icon resource 107.
TEST_F(SkinSetTest, IconsLoadAtSmallAndLargeSizes) {
  for (int size : {16, 32}) {
    HICON icon = static_cast<HICON>(
        LoadImageW(nullptr, Staged("DeviceDriver.ico").c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE));
    EXPECT_NE(nullptr, icon) << "tray icon at " << size;
    if (icon) DestroyIcon(icon);
  }
  HMODULE program = LoadLibraryExW(WindowsPath(EnvOrEmpty("TAVIR_PROGRAM_DIR") + "/TAVIR KEYBOARD.exe").c_str(),
                                   nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(nullptr, program);
  for (int size : {16, 32}) {
    HICON icon = static_cast<HICON>(LoadImageW(program, MAKEINTRESOURCEW(107), IMAGE_ICON, size, size, 0));
    EXPECT_NE(nullptr, icon) << "window icon at " << size;
    if (icon) DestroyIcon(icon);
  }
  FreeLibrary(program);
}

}  // namespace
