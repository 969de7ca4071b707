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

  KeyMacroList keyRows;
  double readKeys = 0;
  for (int round = 0; round < kRounds; ++round) readKeys += Time([&] { store.GetAllKeyMacros(keyRows); });
  std::printf("read back %5zu key rows:                      %8.2f ms\n", keyRows.size(), readKeys / kRounds);

  std::vector<KEY_PERF_DATA> perfs(128);
  for (int i = 0; i < 128; ++i) {
    perfs[i].profile = 1;
    perfs[i].key_code = i;
    perfs[i].switch_type = 5;
    perfs[i].key_actuation = 75;
  }
  double insertPerfs = 0, updatePerfs = 0, readPerfs = 0;
  KeyPerfList perfRows;
  for (int round = 0; round < kRounds; ++round) {
    insertPerfs += Time([&] { store.InsertKeyPerfs(perfs); });
    updatePerfs += Time([&] { store.UpdateKeyPerfs(perfs); });
    readPerfs += Time([&] { store.GetKeyPerfs(1, perfRows); });
  }
  std::printf("insert 128 performance rows in one batch:      %8.2f ms\n", insertPerfs / kRounds);
  std::printf("update 128 performance rows in one batch:      %8.2f ms\n", updatePerfs / kRounds);
  std::printf("read back %5zu performance rows:              %8.2f ms\n", perfRows.size(), readPerfs / kRounds);

  std::vector<USERLIGHTRGB_DATA> colours(128);
  for (int i = 0; i < 128; ++i) {
    colours[i].profile = 1;
    colours[i].userlight_id = 1;
    colours[i].key_code = i;
    colours[i].key_rgb = 0x00FF8040;
  }
  double replaceColours = 0, readColours = 0;
  UserLightRgbList colourRows;
  for (int round = 0; round < kRounds; ++round) {
    replaceColours += Time([&] {
      store.DeleteUserLightRgbs(1);
      store.InsertUserLightRgbs(colours);
    });
    readColours += Time([&] { store.GetUserLightRgbs(1, colourRows); });
  }
  std::printf("replace 128 key colours (delete, one batch):   %8.2f ms\n", replaceColours / kRounds);
  std::printf("read back %5zu key colours:                   %8.2f ms\n", colourRows.size(), readColours / kRounds);

  store.Close();
  return 0;
}
