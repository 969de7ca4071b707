// The profile file: a profile's advanced keys, the macros, key assignments, per-key
// performance, light modes and per-key colours as one XML document, stored scrambled, for
// moving a profile to another computer. The document is built and read by pure functions over
// XmlDocument, so the format and every refusal are tested without dialogs; the file functions
// are thin layers that add the size limit, the scrambling and the disk. Any thread; no state.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "storage/ConfigRecords.h"
#include "storage/XmlDocument.h"

// An advanced key with the rows of its trigger grid.
struct ProfileAdvKey {
  MAGNETIC_KEY_DATA key;
  std::vector<KEY_ITEM_DATA> items;
};

// A macro with its events in their order.
struct ProfileMacro {
  MACRO_DATA macro;
  std::vector<MACRO_RECORD> events;
};

// What a profile file carries. Writing uses the rows as the store gives them; reading fills
// the fields the file holds. An advanced key read keeps the file's macro_id, the id its key
// rows refer to, so that the importer can translate those references to the new ids.
struct ProfileFileContent {
  CString name;
  std::vector<ProfileAdvKey> advKeys;
  std::vector<ProfileMacro> macros;
  std::vector<KEY_MACRO_DATA> keys;
  std::vector<KEY_PERF_DATA> perfs;
  std::vector<LIGHT_DATA> lights;  // rows of mode 255 are never written
  std::vector<USERLIGHTRGB_DATA> colours;
};

enum class ProfileFileVerdict {
  kAccepted,
  kDamaged,        // unreadable, too large, not XML once unscrambled, no profile or no info
  kOtherModel,     // made for another keyboard model
  kTooManyEvents,  // its macro events would not fit the keyboard's macro area
};

// Files beyond this size are refused before they are read.
constexpr long long kProfileFileMaxBytes = 16LL * 1024 * 1024;
// The most trigger rows an advanced key has: the grid's four.
constexpr size_t kProfileFileMaxKeyItems = 4;

// The stored macros an import would change: the number of events of each macro by id.
using StoredMacroEvents = std::map<int, int>;

// Replaces doc with the profile's document for the keyboard model: declaration, profile, info
// (with the model's identity where it has one) and the six sections in their order.
void BuildProfileDocument(const ProfileFileContent& content, int modelId, XmlDocument& doc);

// The profile of a parsed document, checked whole before anything is stored: the identity of
// the model in use, and room in the keyboard's macro area for the events once the file's macros
// replace those stored under their ids (macroAreaEvents counting every event the area holds).
// A macro of the file that is not stored is left out with its events. Values are taken as they
// stand: text as decoded, numbers as their leading decimal digits (0 without any, saturating at
// the int range); at most kProfileFileMaxKeyItems trigger rows per advanced key are kept.
ProfileFileVerdict ReadProfileDocument(XmlDocument& doc, int modelId, const StoredMacroEvents& stored,
                                       int macroAreaEvents, ProfileFileContent& out);

// Writes the profile's document scrambled to path; false when the file could not be written.
bool WriteProfileFile(const wchar_t* path, const ProfileFileContent& content, int modelId);
// Reads the scrambled file at path as ReadProfileDocument does; out is filled only when accepted.
ProfileFileVerdict ReadProfileFile(const wchar_t* path, int modelId, const StoredMacroEvents& stored,
                                   int macroAreaEvents, ProfileFileContent& out);

// The language text that tells the user why a file was refused.
int ProfileFileRefusalText(ProfileFileVerdict verdict);
