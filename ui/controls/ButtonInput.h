// ButtonInput: the four states of a push button and the steps its enable and mouse handlers
// take, shared by the button classes (each keeps its state in an int of its own and adds its
// deviations around these steps). A state change asks the owner to repaint with redraw 0 (the
// cells are already rendered), only while the button is visible; the owner is notified last,
// after the button's own state is final. Window's thread only.
#pragma once

#include <windows.h>

#include "ui/core/Geometry.h"

namespace TESK {

class MControl;

enum ButtonState { BUTTON_NORMAL = 0, BUTTON_HOVER = 1, BUTTON_DOWN = 2, BUTTON_DISABLED = 3 };

namespace ButtonInput {

// Whether a handler sets the hand cursor inside the button and the arrow outside.
enum class Cursor { Keep, Hand };

// What a release did: nothing, a state change, or a state change that completes a click.
enum class Release { Unchanged, Changed, Click };

// Stores the enabled flag when it changes; the state becomes normal or disabled. 1 when changed.
int Enable(MControl& button, int& state, int enabled);
// Hover when the point lies in the button, else normal; not while down or disabled.
int Move(MControl& button, int& state, CPoint pt, Cursor cursor);
// Down for a press inside an enabled button, then NOTIFY_PRESSED.
int Press(MControl& button, int& state, CPoint pt, Cursor cursor);
// Hover inside (a click when it was down), normal outside; the caller sends NOTIFY_CLICKED
// for Click, after steps of its own.
Release Up(MControl& button, int& state, CPoint pt);
// The plain release: Up, then NOTIFY_CLICKED for a click. 1 when the state changed.
int Click(MControl& button, int& state, CPoint pt);
// The state becomes next; a repaint request (redraw 0) when it changed. 1 when changed.
int Change(MControl& button, int& state, int next);
// IDC_HAND inside, IDC_ARROW outside.
void SetCursorFor(bool inside);

}  // namespace ButtonInput

}  // namespace TESK
