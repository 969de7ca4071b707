// Extraction speed of ExtractZipToFolder: writes an archive of 6400 small deflated
// files (52 MB unpacked) to the temporary folder, extracts it three times and prints
// the unpacked megabytes per second of each run.
//
//   ZipExtract.exe [files] [file size in bytes]
#include <windows.h>

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <random>
#include <string>
#include <vector>

#include "FileBytes.h"
#include "Stopwatch.h"
#include "TempFolder.h"
#include "app/ZipReader.h"

namespace {

void Put16(std::string& out, unsigned value) {
  out += char(value & 0xFF);
  out += char((value >> 8) & 0xFF);
}
void Put32(std::string& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

std::string Deflate(const std::string& data) {
  z_stream stream = {};
  deflateInit2(&stream, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&stream, uLong(data.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = uInt(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
  stream.avail_out = uInt(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

// A zip archive of deflated entries "dirNN/fileNNNN.bin" with Unix host attributes.
std::string BuildArchive(int files, size_t fileSize) {
  std::mt19937 random(1);
  std::string body, central;
  for (int i = 0; i < files; ++i) {
    char name[64];
    std::snprintf(name, sizeof(name), "dir%02d/file%04d.bin", i % 64, i);
    // Bytes from a small alphabet compress to about half, like mixed program files.
    std::string data(fileSize, '\0');
    for (char& c : data) c = char('A' + random() % 16);
    const std::string packed = Deflate(data);
    const uint32_t crc = uint32_t(crc32(0, reinterpret_cast<const Bytef*>(data.data()), uInt(data.size())));
    const uint32_t offset = uint32_t(body.size());
    const size_t nameLength = std::strlen(name);

    Put32(body, 0x04034B50);
    Put16(body, 20), Put16(body, 0), Put16(body, 8), Put16(body, 0), Put16(body, 0x5021);
    Put32(body, crc), Put32(body, uint32_t(packed.size())), Put32(body, uint32_t(data.size()));
    Put16(body, unsigned(nameLength)), Put16(body, 0);
    body += name;
    body += packed;

    Put32(central, 0x02014B50);
    Put16(central, 3 << 8 | 20), Put16(central, 20), Put16(central, 0), Put16(central, 8);
    Put16(central, 0), Put16(central, 0x5021);
    Put32(central, crc), Put32(central, uint32_t(packed.size())), Put32(central, uint32_t(data.size()));
    Put16(central, unsigned(nameLength)), Put16(central, 0), Put16(central, 0), Put16(central, 0);
    Put16(central, 0), Put32(central, 0100644u << 16), Put32(central, offset);
    central += name;
  }
  std::string archive = body + central;
  Put32(archive, 0x06054B50);
  Put16(archive, 0), Put16(archive, 0), Put16(archive, unsigned(files)), Put16(archive, unsigned(files));
  Put32(archive, uint32_t(central.size())), Put32(archive, uint32_t(body.size())), Put16(archive, 0);
  return archive;
}

// The floor under any extraction: the same files written straight from memory.
void WriteFilesDirectly(const std::wstring& target, int files, size_t fileSize) {
  const std::string data(fileSize, 'A');
  CreateDirectoryW(target.c_str(), nullptr);
  for (int i = 0; i < files; ++i) {
    wchar_t name[64];
    std::swprintf(name, 64, L"\\dir%02d", i % 64);
    const std::wstring folder = target + name;
    if (GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES) CreateDirectoryW(folder.c_str(), nullptr);
    std::swprintf(name, 64, L"\\file%04d.bin", i);
    HANDLE file = CreateFileW((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, data.data(), DWORD(data.size()), &written, nullptr);
    CloseHandle(file);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int files = argc > 1 ? _wtoi(argv[1]) : 6400;
  const size_t fileSize = argc > 2 ? size_t(_wtoi(argv[2])) : 8192;
  if (files <= 0 || files > 65535 || fileSize == 0) {
    std::fprintf(stderr, "usage: ZipExtract [files 1-65535] [file size]\n");
    return 2;
  }
  testsupport::TempFolder folder(L"bench_zip");
  const std::wstring archive = folder.Path() + L"bench.zip";
  const std::string bytes = BuildArchive(files, fileSize);
  testsupport::WriteFileBytes(archive, std::vector<uint8_t>(bytes.begin(), bytes.end()));
  const double megabytes = double(files) * double(fileSize) / 1e6;
  std::printf("archive: %d files, %.1f MB unpacked, %.1f MB packed\n", files, megabytes, double(bytes.size()) / 1e6);

  double best = 0;
  for (int run = 1; run <= 3; ++run) {
    const std::wstring target = folder.Path() + (L"out" + std::to_wstring(run));
    bool opened = false;
    const double seconds =
        testsupport::MicrosecondsPerCall(1, [&](int) { opened = ExtractZipToFolder(archive.c_str(), target.c_str()); }) /
        1e6;
    if (!opened) {
      std::fprintf(stderr, "the archive did not open\n");
      return 1;
    }
    const double rate = megabytes / seconds;
    best = rate > best ? rate : best;
    std::printf("run %d: %.2f s, %.1f MB/s, %.0f files/s\n", run, seconds, rate, files / seconds);
    testsupport::DeleteTree(target);
  }
  std::printf("best: %.1f MB/s\n", best);
  const std::wstring plain = folder.Path() + L"plain";
  const double seconds =
      testsupport::MicrosecondsPerCall(1, [&](int) { WriteFilesDirectly(plain, files, fileSize); }) / 1e6;
  std::printf("for comparison, plain writes of as many files of that size: %.1f MB/s\n", megabytes / seconds);
  testsupport::DeleteTree(plain);
  return 0;
}
