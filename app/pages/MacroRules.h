// The numbers of the macro page: how many events the keyboard's macro area takes, how many a
// new recording may add, and the page's play-count and fixed-delay fields as stored values.
// Pure functions; any thread.
#pragma once

// Events of all macros together that the keyboard's macro area holds; the device link leaves a
// macro that does not fit off the keyboard, with every macro after it.
constexpr int kMacroAreaEvents = 496;

// Events a recording may add: twice what is left of 325 after one slot per macro and per stored
// event, but never more than the area still has room for, so a finished recording always fits.
int MacroRecordBudget(int macros, int storedEvents);

// The play-count field as stored: its number, at least 1 and at most 99 (an empty field is 1).
int PlayCountFromField(const wchar_t* text);

// The fixed-delay field as stored: its digits (none: 0), saturating at 65535 ms.
int FixedDelayFromField(const wchar_t* text);
