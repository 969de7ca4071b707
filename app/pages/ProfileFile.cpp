#include "app/pages/ProfileFile.h"

#include <windows.h>

#include <utility>

#include "app/pages/KeyCodeMap.h"
#include "app/pages/LightModes.h"
#include "ui/controls/CSpinButton.h"

namespace {

constexpr wchar_t kDeclaration[] = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
constexpr int kLightModeOff = 255;

// Language texts of the refusals.
constexpr int kTextDamaged = 222;
constexpr int kTextOtherModel = 223;
constexpr int kTextAreaFull = 361;

// The models whose files name the keyboard they were made for.
struct ModelIdentity {
  int modelId;
  int pid;
  int vid;
  const wchar_t* productName;
};
constexpr ModelIdentity kIdentities[] = {
    {102, 0xFE20, 0x19F5, L"Norvik68 HE"},
    {101, 0xFED0, 0x19F5, L"Norvik61 HE"},
};

const ModelIdentity* IdentityOf(int modelId) {
  for (const ModelIdentity& identity : kIdentities) {
    if (identity.modelId == modelId) return &identity;
  }
  return nullptr;
}

// Writes attributes in order on the element appended last.
class AttributeWriter {
public:
  AttributeWriter(XmlDocument& doc, const wchar_t* element) : m_doc(doc) {
    m_doc.AppendElement(element);
    m_element = m_doc.GetElementPosition();
  }
  AttributeWriter& Text(const wchar_t* name, const wchar_t* value) {
    m_doc.WriteAttributeAt(m_element, name, value);
    return *this;
  }
  AttributeWriter& Number(const wchar_t* name, int value) {
    CString text;
    text.Format(L"%d", value);
    return Text(name, text);
  }

private:
  XmlDocument& m_doc;
  int m_element = 0;
};

// An empty section stays in its short form; entering and leaving adds nothing.
template <typename Rows, typename WriteRow>
void WriteSection(XmlDocument& doc, const wchar_t* name, const Rows& rows, WriteRow writeRow) {
  doc.AppendElement(name);
  if (rows.empty()) return;
  doc.EnterElement();
  for (const auto& row : rows) writeRow(row);
  doc.LeaveElement();
}

CString RgbText(int colour) {
  CString text;
  text.Format(L"#%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
  return text;
}

int Number(const XmlDocument& doc, const wchar_t* name) { return TESK::ParseSpinValue(doc.GetAttribute(name)); }

// Enters the current element and calls readItem at each child of that name.
template <typename ReadItem>
void ForEachChild(XmlDocument& doc, const wchar_t* name, ReadItem readItem) {
  if (!doc.EnterElement()) return;
  while (doc.NextElement(name)) readItem();
  doc.LeaveElement();
}

void ReadAdvKeys(XmlDocument& doc, std::vector<ProfileAdvKey>& out) {
  ForEachChild(doc, L"adv_item", [&] {
    ProfileAdvKey adv;
    MAGNETIC_KEY_DATA& key = adv.key;
    key.macro_id = Number(doc, L"macro_id");
    key.fn_layer = Number(doc, L"fn_layer");
    key.macro_type = Number(doc, L"macro_type");
    key.key1_value = Number(doc, L"key1_value");
    key.key2_value = Number(doc, L"key2_value");
    key.key1_name = doc.GetAttribute(L"key1_name");
    key.key2_name = doc.GetAttribute(L"key2_name");
    key.reserved = Number(doc, L"reserved");
    if (doc.EnterElement()) {
      if (doc.NextElement(L"dks_keys")) {
        ForEachChild(doc, L"dks_item", [&] {
          if (adv.items.size() >= kProfileFileMaxKeyItems) return;
          KEY_ITEM_DATA item;
          item.trigger_state1 = Number(doc, L"state");
          item.key_value = Number(doc, L"key_value");
          item.key_name = doc.GetAttribute(L"key_name");
          adv.items.push_back(item);
        });
      }
      doc.LeaveElement();
    }
    out.push_back(std::move(adv));
  });
}

void ReadMacros(XmlDocument& doc, std::vector<ProfileMacro>& out) {
  ForEachChild(doc, L"macro_item", [&] {
    ProfileMacro macro;
    macro.macro.macro_id = Number(doc, L"macro_id");
    macro.macro.name = doc.GetAttribute(L"name");
    macro.macro.play_times = Number(doc, L"times");
    macro.macro.delay_type = Number(doc, L"type");
    macro.macro.delay_time = Number(doc, L"delaytime");
    if (doc.EnterElement()) {
      if (doc.NextElement(L"record_item")) {
        ForEachChild(doc, L"item", [&] {
          MACRO_RECORD event;
          event.macro_id = macro.macro.macro_id;
          event.type = Number(doc, L"type");
          event.record_index = static_cast<int>(macro.events.size());
          event.value = Number(doc, L"value");
          event.delay_time = Number(doc, L"delay_time");
          event.desc = doc.GetAttribute(L"desc");
          macro.events.push_back(event);
        });
      }
      doc.LeaveElement();
    }
    out.push_back(std::move(macro));
  });
}

void ReadKeys(XmlDocument& doc, std::vector<KEY_MACRO_DATA>& out) {
  ForEachChild(doc, L"item", [&] {
    KEY_MACRO_DATA key;
    key.fn_layer = Number(doc, L"fn_layer");
    key.key_code = Number(doc, L"key_code");
    key.macro_type = Number(doc, L"macro_type");
    key.macro_value = Number(doc, L"macro_value");
    key.macro_value2 = Number(doc, L"macro_value2");
    key.macro_value3 = Number(doc, L"macro_value3");
    key.macro_desc = doc.GetAttribute(L"macro_desc");
    out.push_back(key);
  });
}

void ReadPerfs(XmlDocument& doc, std::vector<KEY_PERF_DATA>& out) {
  ForEachChild(doc, L"item", [&] {
    KEY_PERF_DATA perf;
    perf.key_code = Number(doc, L"key_code");
    perf.switch_type = Number(doc, L"switch_type");
    perf.key_mode = Number(doc, L"key_mode");
    perf.key_actuation = Number(doc, L"key_actuation");
    perf.rt_press = Number(doc, L"rt_press");
    perf.rt_release = Number(doc, L"rt_release");
    perf.deadzone_state = Number(doc, L"deadzone_state");
    perf.press_deadzone = Number(doc, L"press_deadzone");
    perf.release_deadzone = Number(doc, L"release_deadzone");
    out.push_back(perf);
  });
}

void ReadLights(XmlDocument& doc, std::vector<LIGHT_DATA>& out) {
  ForEachChild(doc, L"item", [&] {
    LIGHT_DATA light;
    light.mode = Number(doc, L"mode");
    light.brightness = Number(doc, L"brightness");
    light.speed = Number(doc, L"speed");
    light.direction = Number(doc, L"direction");
    light.colorful = Number(doc, L"colorful");
    light.colorindex = Number(doc, L"colorindex");
    light.color_value = Number(doc, L"color_value");
    light.status = Number(doc, L"status");
    out.push_back(light);
  });
}

void ReadColours(XmlDocument& doc, std::vector<USERLIGHTRGB_DATA>& out) {
  ForEachChild(doc, L"item", [&] {
    USERLIGHTRGB_DATA colour;
    colour.key_code = Number(doc, L"key_code");
    colour.key_rgb = static_cast<int>(ParseRgbText(doc.GetAttribute(L"key_rgb")));
    out.push_back(colour);
  });
}

// Keeps only the macros that are stored (an import changes no other) and tells whether the
// macro area holds every event once they replaced the stored ones; the last item of an id wins.
bool KeepStoredMacros(std::vector<ProfileMacro>& macros, const StoredMacroEvents& stored, int macroAreaEvents) {
  std::vector<ProfileMacro> kept;
  std::map<int, size_t> replaced;
  for (ProfileMacro& macro : macros) {
    if (!stored.count(macro.macro.macro_id)) continue;
    replaced[macro.macro.macro_id] = macro.events.size();
    kept.push_back(std::move(macro));
  }
  long long total = 0;
  for (const auto& [id, events] : stored) {
    const auto it = replaced.find(id);
    total += it != replaced.end() ? static_cast<long long>(it->second) : events;
  }
  macros = std::move(kept);
  return total <= macroAreaEvents;
}

}  // namespace

void BuildProfileDocument(const ProfileFileContent& content, int modelId, XmlDocument& doc) {
  doc.ParseText(kDeclaration);
  doc.AppendElement(L"profile");
  doc.EnterElement();
  AttributeWriter info(doc, L"info");
  info.Text(L"name", content.name);
  if (const ModelIdentity* identity = IdentityOf(modelId)) {
    info.Number(L"pid", identity->pid).Number(L"vid", identity->vid).Text(L"pro_name", identity->productName);
  }
  doc.EnterElement();

  if (!content.advKeys.empty()) {
    WriteSection(doc, L"adv_keys", content.advKeys, [&](const ProfileAdvKey& adv) {
      const MAGNETIC_KEY_DATA& key = adv.key;
      AttributeWriter(doc, L"adv_item")
          .Number(L"macro_id", key.macro_id)
          .Number(L"profile", key.profile)
          .Number(L"fn_layer", key.fn_layer)
          .Number(L"macro_type", key.macro_type)
          .Number(L"key1_value", key.key1_value)
          .Number(L"key2_value", key.key2_value)
          .Text(L"key1_name", key.key1_name)
          .Text(L"key2_name", key.key2_name)
          .Number(L"reserved", key.reserved);
      if (adv.items.empty()) return;
      doc.EnterElement();
      WriteSection(doc, L"dks_keys", adv.items, [&](const KEY_ITEM_DATA& item) {
        AttributeWriter(doc, L"dks_item")
            .Number(L"keyitem_id", item.keyitem_id)
            .Number(L"macro_id", item.macro_id)
            .Number(L"state", item.trigger_state1)
            .Number(L"key_value", item.key_value)
            .Text(L"key_name", item.key_name);
      });
      doc.LeaveElement();
    });
  }

  WriteSection(doc, L"macro_info", content.macros, [&](const ProfileMacro& macro) {
    AttributeWriter(doc, L"macro_item")
        .Number(L"macro_id", macro.macro.macro_id)
        .Text(L"name", macro.macro.name)
        .Number(L"times", macro.macro.play_times)
        .Number(L"type", macro.macro.delay_type)
        .Number(L"delaytime", macro.macro.delay_time);
    if (macro.events.empty()) return;
    doc.EnterElement();
    WriteSection(doc, L"record_item", macro.events, [&](const MACRO_RECORD& event) {
      AttributeWriter(doc, L"item")
          .Text(L"desc", event.desc)
          .Number(L"type", event.type)
          .Number(L"value", event.value)
          .Number(L"delay_time", event.delay_time);
    });
    doc.LeaveElement();
  });

  WriteSection(doc, L"key_info", content.keys, [&](const KEY_MACRO_DATA& key) {
    AttributeWriter(doc, L"item")
        .Number(L"fn_layer", key.fn_layer)
        .Number(L"key_code", key.key_code)
        .Number(L"layout_desc", key.key_code)
        .Number(L"macro_type", key.macro_type)
        .Number(L"macro_value", key.macro_value)
        .Number(L"macro_value2", key.macro_value2)
        .Number(L"macro_value3", key.macro_value3)
        .Text(L"macro_desc", key.macro_desc);
  });

  WriteSection(doc, L"perf_info", content.perfs, [&](const KEY_PERF_DATA& perf) {
    AttributeWriter(doc, L"item")
        .Number(L"key_code", perf.key_code)
        .Number(L"switch_type", perf.switch_type)
        .Number(L"key_mode", perf.key_mode)
        .Number(L"key_actuation", perf.key_actuation)
        .Number(L"rt_press", perf.rt_press)
        .Number(L"rt_release", perf.rt_release)
        .Number(L"deadzone_state", perf.deadzone_state)
        .Number(L"press_deadzone", perf.press_deadzone)
        .Number(L"release_deadzone", perf.release_deadzone);
  });

  std::vector<LIGHT_DATA> lights;
  for (const LIGHT_DATA& light : content.lights) {
    if (light.mode != kLightModeOff) lights.push_back(light);
  }
  WriteSection(doc, L"light_mode", lights, [&](const LIGHT_DATA& light) {
    AttributeWriter(doc, L"item")
        .Number(L"mode", light.mode)
        .Number(L"brightness", light.brightness)
        .Number(L"speed", light.speed)
        .Number(L"direction", light.direction)
        .Number(L"colorful", light.colorful)
        .Number(L"colorindex", light.colorindex)
        .Number(L"color_value", light.color_value)
        .Number(L"status", light.status);
  });

  const KeyCodeMap& codes = KeyCodeMap::Instance();
  WriteSection(doc, L"key_light", content.colours, [&](const USERLIGHTRGB_DATA& colour) {
    CString caption;
    codes.UsageToKeyName(caption, colour.key_code);
    AttributeWriter(doc, L"item")
        .Text(L"key_name", caption)
        .Number(L"key_code", colour.key_code)
        .Text(L"key_rgb", RgbText(colour.key_rgb));
  });
}

ProfileFileVerdict ReadProfileDocument(XmlDocument& doc, int modelId, const StoredMacroEvents& stored,
                                       int macroAreaEvents, ProfileFileContent& out) {
  // Parsing again also puts the position back to the document's start.
  if (!doc.Parse() || !doc.NextElement(L"profile") || !doc.EnterElement() || !doc.NextElement(L"info")) {
    return ProfileFileVerdict::kDamaged;
  }
  if (const ModelIdentity* identity = IdentityOf(modelId)) {
    if (Number(doc, L"pid") != identity->pid || Number(doc, L"vid") != identity->vid ||
        doc.GetAttribute(L"pro_name") != identity->productName) {
      return ProfileFileVerdict::kOtherModel;
    }
  }
  ProfileFileContent read;
  read.name = doc.GetAttribute(L"name");
  // Each section is looked for after the one before it: one out of order is passed over.
  if (doc.EnterElement()) {
    if (doc.NextElement(L"adv_keys")) ReadAdvKeys(doc, read.advKeys);
    if (doc.NextElement(L"macro_info")) ReadMacros(doc, read.macros);
    if (doc.NextElement(L"key_info")) ReadKeys(doc, read.keys);
    if (doc.NextElement(L"perf_info")) ReadPerfs(doc, read.perfs);
    if (doc.NextElement(L"light_mode")) ReadLights(doc, read.lights);
    if (doc.NextElement(L"key_light")) ReadColours(doc, read.colours);
    doc.LeaveElement();
  }
  if (!KeepStoredMacros(read.macros, stored, macroAreaEvents)) return ProfileFileVerdict::kTooManyEvents;
  out = std::move(read);
  return ProfileFileVerdict::kAccepted;
}

bool WriteProfileFile(const wchar_t* path, const ProfileFileContent& content, int modelId) {
  XmlDocument doc;
  BuildProfileDocument(content, modelId, doc);
  return doc.CheckStructure() && doc.WriteToFile(path, true);
}

ProfileFileVerdict ReadProfileFile(const wchar_t* path, int modelId, const StoredMacroEvents& stored,
                                   int macroAreaEvents, ProfileFileContent& out) {
  // The size is known before anything is read, so a huge file costs nothing.
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!path || !GetFileAttributesExW(path, GetFileExInfoStandard, &data)) return ProfileFileVerdict::kDamaged;
  const long long size = (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || size > kProfileFileMaxBytes) {
    return ProfileFileVerdict::kDamaged;
  }
  XmlDocument doc;
  if (!doc.ReadFromFile(path, true)) return ProfileFileVerdict::kDamaged;
  return ReadProfileDocument(doc, modelId, stored, macroAreaEvents, out);
}

int ProfileFileRefusalText(ProfileFileVerdict verdict) {
  switch (verdict) {
    case ProfileFileVerdict::kOtherModel:
      return kTextOtherModel;
    case ProfileFileVerdict::kTooManyEvents:
      return kTextAreaFull;
    default:
      return kTextDamaged;
  }
}
