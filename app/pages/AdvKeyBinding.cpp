#include "app/pages/AdvKeyBinding.h"

#include "app/pages/KeyAssignment.h"
#include "app/pages/KeyFunctionCatalogue.h"
#include "storage/ConfigDatabase.h"

namespace {

const wchar_t* KindCaption(int kind) {
  switch (kind) {
    case MACRO_TYPE_DKS:
      return L"DKS";
    case MACRO_TYPE_MT:
      return L"MT";
    case MACRO_TYPE_TGL:
      return L"TGL";
    case MACRO_TYPE_RS:
      return L"RS";
    case MACRO_TYPE_SOCD:
      return L"SOCD";
    case MACRO_TYPE_OKS:
      return L"OKS";
    default:
      return nullptr;
  }
}

int LowKey(int pair) { return pair & 0xFFFF; }
int HighKey(int pair) { return (pair >> 16) & 0xFFFF; }

// The OKS start values (high nibble of key1) that bind both keys, the first only, the second only.
enum OksStart : int { OKS_BOTH = 1, OKS_FIRST = 2, OKS_SECOND = 3 };

class Binder {
 public:
  Binder(int id, const MAGNETIC_KEY_DATA& adv, int fnLayer) : m_id(id), m_adv(adv), m_layer(fnLayer) {}

  AdvKeyBinding Bind() {
    const int k1 = LowKey(m_adv.key_value), k2 = HighKey(m_adv.key_value);
    const int mode = m_adv.key1_value;
    switch (m_adv.macro_type) {
      case MACRO_TYPE_DKS:
      case MACRO_TYPE_MT:
      case MACRO_TYPE_TGL:
        m_binding.mask = m_adv.macro_type == MACRO_TYPE_DKS   ? ADVKEY_MASK_DKS
                         : m_adv.macro_type == MACRO_TYPE_TGL ? ADVKEY_MASK_TGL
                                                              : ADVKEY_MASK_MULTI;
        Assign(k1);
        break;
      case MACRO_TYPE_RS:
        m_binding.mask = ADVKEY_MASK_MULTI;
        AssignPair(k1, k2, mode);
        AssignPair(k2, k1, mode);
        break;
      case MACRO_TYPE_SOCD:
        m_binding.mask = ADVKEY_MASK_MULTI;
        AssignPair(k1, k2, mode);
        AssignPair(k2, k1, SwapSocdDirection(mode));
        break;
      case MACRO_TYPE_OKS:
        m_binding.mask = ADVKEY_MASK_MULTI;
        switch (mode >> 4) {
          case OKS_BOTH:
            AssignPair(k1, k2, mode);
            AssignPair(k2, k1, mode);
            break;
          case OKS_FIRST:
            AssignPair(k1, k2, mode);
            Release(k2);
            break;
          case OKS_SECOND:
            Release(k1);
            AssignPair(k2, k1, mode);
            break;
          default:
            break;
        }
        break;
      default:
        break;
    }
    return m_binding;
  }

 private:
  // The key's row pointing at the advanced key alone (one-key kinds).
  void Assign(int key) { Assign(key, 0, 0, false); }
  // The key's row pointing at the advanced key of a pair, other being the pair's other key;
  // the key gets the performance mode too.
  void AssignPair(int key, int other, int mode) { Assign(key, other, mode, true); }

  void Assign(int key, int other, int mode, bool pair) {
    bool stored = false;
    KEY_MACRO_DATA row = ReadKeyRow(m_layer, key, &stored);
    if (!stored) return;
    row.macro_type = m_adv.macro_type;
    row.macro_value = m_id;
    row.macro_value2 = pair ? m_adv.key_value : 0;
    row.macro_value3 = other;
    row.macro_desc = KindCaption(m_adv.macro_type);
    m_binding.rows.push_back(row);
    if (pair) m_binding.perf.push_back({key, mode});
  }

  // The OKS key the start value leaves out: no function, its value naming the other key of the
  // pair it belonged to (-1 when it was in none), its own name as caption.
  void Release(int key) {
    bool stored = false;
    KEY_MACRO_DATA row = ReadKeyRow(m_layer, key, &stored);
    if (!stored) return;
    const int pair = row.macro_value2;
    row.macro_value = LowKey(pair) == key ? HighKey(pair) : HighKey(pair) == key ? LowKey(pair) : -1;
    row.macro_type = MACRO_TYPE_NONE;
    row.macro_value2 = 0;
    row.macro_value3 = 0;
    row.macro_desc = KeyName(key);
    m_binding.rows.push_back(row);
  }

  const int m_id;
  const MAGNETIC_KEY_DATA& m_adv;
  const int m_layer;
  AdvKeyBinding m_binding;
};

bool IsAdvancedKind(int kind) { return kind >= MACRO_TYPE_DKS && kind <= MACRO_TYPE_OKS; }

}  // namespace

AdvKeyBinding BindAdvancedKey(int id, const MAGNETIC_KEY_DATA& adv, int fnLayer) {
  return Binder(id, adv, fnLayer).Bind();
}

int SwapSocdDirection(int mode) {
  switch (mode & 0xF0) {
    case 0x10:
      return (mode & ~0xF0) | 0x20;
    case 0x20:
      return (mode & ~0xF0) | 0x10;
    default:
      return mode;
  }
}

std::vector<KEY_MACRO_DATA> RowsFreedByDeletedAdvKey(int id) {
  KeyMacroList stored;
  ConfigDatabase::Instance().GetProfileKeyMacros(stored);
  std::vector<KEY_MACRO_DATA> rows;
  for (const auto& row : stored) {
    if (!IsAdvancedKind(row->macro_type) || row->macro_value != id) continue;
    KEY_MACRO_DATA freed = *row;
    // The row's own layer: a profile may bind one advanced key on several layers.
    ResetKeyRow(freed, freed.fn_layer, &rows);
    rows.push_back(freed);
  }
  return rows;
}
