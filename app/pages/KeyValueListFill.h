// The key page's function group view: the group picked on the group tabs decides whether the
// keyboard-shaped picker or the function list is shown, and what the list holds (the
// group's tiles from the key function catalogue; macro tiles with their stored event counts).
// The main window calls it with its two controls when a group is picked and after the macro
// page stores macros. UI thread (it reads the settings store).
#pragma once

namespace TESK {
class KeyFuncControl;
class KeyValueList;
}  // namespace TESK

// Group 0 shows the picker and hides the list. Groups 1 to 6 hide the picker and refill the
// list with the group's tiles in order; any other group leaves the list shown and empty.
// Nothing is selected in the list afterwards. A null control is left out. With lastValue
// not 0 the group's tiles end after the one of that value (the advanced-key editor offers
// the Fn layers only up to FN7). Returns 1.
int FillKeyValueList(TESK::KeyFuncControl* picker, TESK::KeyValueList* list, int group, int lastValue = 0);
