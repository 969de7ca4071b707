// Times the settings store on a scratch data folder: creating a new database (schema and
// default rows) and the largest batches the program writes, and prints the figures.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "TempFolder.h"
#include "storage/ConfigDatabase.h"

namespace {

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename Work>
double Time(Work work) {
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  work();
  QueryPerformanceCounter(&end);
  return Milliseconds(start, end);
}

}  // namespace

int wmain() {
  testsupport::TempFolder folder(L"_bench");
  folder.MakeSubFolder(L"db");
  ConfigDatabase& store = ConfigDatabase::Instance();
  const int kRounds = 5;

  double open = 0;
  for (int round = 0; round < kRounds; ++round) {
    store.Close();
    store.RemoveFile(folder.Path().c_str(), L"Bench");
    open += Time([&] { store.Open(folder.Path().c_str(), L"Bench"); });
  }
  std::printf("open a new database (schema, 43 default rows): %8.2f ms\n", open / kRounds);

  std::vector<KEY_MACRO_DATA> keys(128 * 12);
  for (size_t i = 0; i < keys.size(); ++i) {
    keys[i].profile = 1;
    keys[i].fn_layer = static_cast<int>(i / 128);
    keys[i].key_code = static_cast<int>(i % 128);
    keys[i].macro_type = 2;
    keys[i].macro_value = static_cast<int>(i % 128);
    keys[i].macro_desc = L"Key";
  }
  double insertKeys = 0;
  for (int round = 0; round < kRounds; ++round) insertKeys += Time([&] { store.InsertKeyMacros(keys); });
  std::printf("insert 1,536 key rows in one batch:            %8.2f ms\n", insertKeys / kRounds);

  store.Close();
  return 0;
}
