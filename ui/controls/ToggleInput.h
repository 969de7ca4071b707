// ToggleInput: the check state of the toggle and group buttons and the steps their handlers
// share. A Toggle holds the check state (0 unchecked, any other value checked and kept as
// given), the cell shown and whether a press is in progress; its scheme maps a base state
// (0 normal, 1 hover, 2 down, 3 disabled) and the check state to the cell. Cell changes repaint
// with redraw 0 while the button is visible; focus changes re-render. Window's thread only.
#pragma once

#include <windows.h>

#include "ui/core/Geometry.h"

namespace TESK {

class MControl;

namespace ToggleInput {

// The eight cells of check, radio and layer buttons: the base state, plus 4 when checked.
int EightCells(int base, int check);
// The four cells of select buttons: disabled 3, else 2 while checked, else the base state.
int SelectCells(int base, int check);

struct Toggle {
  explicit Toggle(int (*scheme)(int base, int check)) : cell(scheme) {}
  int check = 0;
  int state = 0;     // the cell shown
  int pressing = 0;  // the left button went down on the button and is not yet released
  int (*cell)(int base, int check);
};

// How a release ended: ignored (disabled), outside, inside without a press, or a click.
enum class Release { Ignored, Outside, Inside, Click };

// The cell becomes that of base for the current check state; 1 when it changed (a repaint).
int Show(MControl& button, Toggle& toggle, int base);
// The cell becomes cell; 1 when it changed (a repaint).
int SetCell(MControl& button, Toggle& toggle, int cell);
int Enable(MControl& button, Toggle& toggle, int enabled);
// Hover inside, normal outside; not while pressing or disabled.
int Move(MControl& button, Toggle& toggle, CPoint pt);
// A press inside an enabled button; a checked button also takes the focus flag.
int Press(MControl& button, Toggle& toggle, CPoint pt, int& focused);
// Clears the press and says what the release was; the caller settles the cell.
Release Up(MControl& button, Toggle& toggle, CPoint pt);
// The resting cell after a release that is not a click (hover inside, normal outside); 0
// for an ignored one. 1 when the cell changed.
int Rest(MControl& button, Toggle& toggle, Release release);
// SetCheck of check boxes: nothing while disabled; else the check state with its resting
// cell, repainted when it changed. The check state.
int SetCheck(MControl& button, Toggle& toggle, int check);
// The release of a check box: a click toggles the check state, takes the hover cell and
// sends NOTIFY_CLICKED; otherwise the resting cell. 1 when the cell changed.
int ToggleOnRelease(MControl& button, Toggle& toggle, Release release);
// MControl's focus step, then the flag and a re-render; 0 for a hidden or disabled button.
int Focus(MControl& button, int& focused, int focus);
// The hot key, or Space without modifiers while the focus flag is set.
bool KeyCounts(MControl& button, int focused, UINT key, UINT count, UINT modifiers);

}  // namespace ToggleInput

}  // namespace TESK
