// The macro file: one macro and its events as a plain UTF-8 XML document, for exporting a macro
// and importing it again on this or another computer. The document is built and read by pure
// functions over XmlDocument, so the format is tested without dialogs; the file functions are
// thin layers that add the size limit and the disk. Any thread; no state.
#pragma once

#include <string>
#include <vector>

#include "storage/ConfigRecords.h"
#include "storage/XmlDocument.h"

// A macro as a file carries it. Reading fills macro's name, play_times, delay_type and
// delay_time (the id and link count are not part of a file) and one event per item, with
// record_index its position from 0; writing uses the same fields.
struct MacroFileContent {
  MACRO_DATA macro;
  std::vector<MACRO_RECORD> events;
};

enum class MacroFileVerdict {
  kAccepted,
  kUnreadable,     // missing, a folder, or over kMacroFileMaxBytes
  kNotXml,         // not a well-formed document (or not readable after all)
  kNoMacro,        // well formed, but its root is no macro element
  kTooManyEvents,  // more events than the keyboard still has room for
};

// Files beyond this size are refused before they are read.
constexpr long long kMacroFileMaxBytes = 1024 * 1024;

// Replaces doc with the macro's document: declaration, macro, macroinfo, macroitems and one
// item per event in the given order.
void BuildMacroDocument(const MacroFileContent& content, XmlDocument& doc);

// The macro of a parsed document. Values are taken as they stand: text as decoded, numbers as
// their leading decimal digits (0 without any, saturating at the int range). A document with
// more items than room is refused, so an import never pushes the keyboard's macro area over.
MacroFileVerdict ReadMacroDocument(XmlDocument& doc, int room, MacroFileContent& out);

// Writes the macro's document to path; false when the file could not be written.
bool WriteMacroFile(const wchar_t* path, const MacroFileContent& content);
// Reads the file at path as ReadMacroDocument does; out is filled only when accepted.
MacroFileVerdict ReadMacroFile(const wchar_t* path, int room, MacroFileContent& out);

// The language text that tells the user why a file was refused.
int MacroFileRefusalText(MacroFileVerdict verdict);
