// Version texts as the download server gives them: dotted numbers, compared part by
// part, and checked before a version is used to name a local file.
#pragma once

#include <vector>

#include "ui/core/CString.h"

// The pieces of text between occurrences of separator, left to right without overlap;
// empty pieces stay ("1..2" gives "1", "", "2"; "" gives one empty piece). An empty
// separator gives the whole text as its only piece.
std::vector<CString> SplitString(const CString& text, const CString& separator);

// Compares two dotted versions by the leading number of each part (as _wtoi reads it):
// 0 equal, 1 when a is lower (b is newer), -1 when a is higher, 2 when the two have a
// different number of parts.
int CompareVersions(const CString& a, const CString& b);

// The server's version text, trimmed of white space, is fit to become part of a file
// name when it is not empty and holds only ASCII letters, digits, ".", "_" and "-".
// On success version receives the trimmed text; otherwise it is emptied.
bool CleanVersionText(const CString& text, CString& version);
