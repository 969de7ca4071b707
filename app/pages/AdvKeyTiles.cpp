#include "app/pages/AdvKeyTiles.h"

#include "app/Language.h"
#include "app/pages/KeyAssignment.h"
#include "app/pages/KeyFunctionCatalogue.h"
#include "storage/ConfigDatabase.h"

namespace {

// SOCD and OKS modes (key1 value / 16) and the texts that describe them: a mode text alone, or
// "<text>（<key name><text>）" of the first or the second key.
struct DetailRule {
  int kind;
  int mode;
  int textId;
  int keyB;        // 0: no key name; 1: the first key's name; 2: the second key's
  int suffixText;  // after the key name
};

constexpr DetailRule kDetailRules[] = {
    {MACRO_TYPE_SOCD, 0, 770, 0, 0},   {MACRO_TYPE_SOCD, 1, 776, 1, 777}, {MACRO_TYPE_SOCD, 2, 776, 2, 777},
    {MACRO_TYPE_SOCD, 3, 773, 0, 0},   {MACRO_TYPE_OKS, 1, 782, 0, 0},    {MACRO_TYPE_OKS, 2, 786, 1, 785},
    {MACRO_TYPE_OKS, 3, 786, 2, 785},
};

CString Text(int id) { return LoadLanString(L"KB.DIALOG", id); }

bool IsAdvancedKind(int kind) { return kind >= MACRO_TYPE_DKS && kind <= MACRO_TYPE_OKS; }

AdvKeyTile SingleKeyTile(const KEY_MACRO_DATA& row, const MAGNETIC_KEY_DATA& key) {
  AdvKeyTile tile;
  tile.kind = row.macro_type;
  tile.caption = KeyName(row.key_code);
  tile.macroId = key.macro_id;
  if (row.macro_type == MACRO_TYPE_MT) {
    tile.keys[0] = key.key1_name;
    tile.keys[1] = key.key2_name;
  } else if (row.macro_type == MACRO_TYPE_TGL) {
    tile.keys[0] = key.key1_name;
  }
  return tile;
}

}  // namespace

CString AdvKeyDetail(int kind, int key1Value, const CString& nameA, const CString& nameB) {
  const int mode = key1Value / 16;
  for (const DetailRule& rule : kDetailRules) {
    if (rule.kind != kind || rule.mode != mode) continue;
    if (rule.keyB == 0) return Text(rule.textId);
    CString detail;
    detail.Format(L"%s\xFF08%s%s\xFF09", Text(rule.textId).GetString(),
                  (rule.keyB == 1 ? nameA : nameB).GetString(), Text(rule.suffixText).GetString());
    return detail;
  }
  return CString();
}

AdvKeyLayer ReadAdvKeyLayer(const KeyMacroList& rows) {
  ConfigDatabase& store = ConfigDatabase::Instance();
  AdvKeyLayer layer;
  for (const auto& row : rows) {
    if (!row || !IsAdvancedKind(row->macro_type)) continue;
    ++layer.count;
    const int kind = row->macro_type;
    if (kind <= MACRO_TYPE_TGL) layer.captions.push_back({row->key_code, row->macro_desc, kind});
    MAGNETIC_KEY_DATA key;
    if (!store.GetMagneticKey(row->macro_value, key)) continue;
    if (kind == MACRO_TYPE_DKS) {
      KeyItemList items;
      store.GetKeyItems(key.macro_id, items);
      if (!items.empty()) {
        AdvKeyTile tile = SingleKeyTile(*row, key);
        // A DKS key has four actions; what a profile file carries beyond them is not shown.
        for (size_t i = 0; i < items.size() && i < 4; ++i) tile.keys[i] = items[i]->key_name;
        layer.tiles.push_back(tile);
      }
    } else if (kind == MACRO_TYPE_MT || kind == MACRO_TYPE_TGL) {
      layer.tiles.push_back(SingleKeyTile(*row, key));
    }
    if (kind <= MACRO_TYPE_TGL) continue;
    const int codeA = key.key_value & 0xFFFF, codeB = (key.key_value >> 16) & 0xFFFF;
    AdvKeyTile tile;
    tile.pair = true;
    tile.kind = kind;
    tile.caption = KeyName(codeA);
    tile.caption2 = KeyName(codeB);
    tile.detail = AdvKeyDetail(kind, key.key1_value, tile.caption, tile.caption2);
    tile.macroId = key.macro_id;
    layer.tiles.push_back(tile);
    layer.captions.push_back({codeA, row->macro_desc, kind});
    layer.captions.push_back({codeB, row->macro_desc, kind});
  }
  return layer;
}
