#include "app/pages/KeyValueListFill.h"

#include "app/pages/KeyFunctionCatalogue.h"
#include "storage/ConfigDatabase.h"
#include "ui/keyboard/KeyFuncControl.h"
#include "ui/keyboard/KeyValueList.h"

int FillKeyValueList(TESK::KeyFuncControl* picker, TESK::KeyValueList* list, int group, int lastValue) {
  const bool usesPicker = group == 0;
  if (picker) picker->SetVisible(usesPicker ? 1 : 0);
  if (!list) return 1;
  list->SetVisible(usesPicker ? 0 : 1);
  if (!usesPicker) {
    list->ClearAllItems();
    // Group 0 has no tiles: the picker is its content.
    const KeyFunctionGroup* tiles = KeyFunctionGroupAt(group);
    for (int i = 0; tiles && i < tiles->count; ++i) {
      const KeyFunctionEntry& entry = tiles->entries[i];
      // A macro's count that cannot be read is 0: its tile then shows the bare number.
      const int events =
          tiles->macroType == MACRO_TYPE_MACRO ? ConfigDatabase::Instance().CountMacroRecords(entry.value) : 0;
      list->AddKeyInfo(entry.value, KeyFunctionEntryCaption(*tiles, entry, events), CString());
      if (lastValue != 0 && entry.value == lastValue) break;
    }
  }
  list->SetSelectKeyValue(-1);
  return 1;
}
