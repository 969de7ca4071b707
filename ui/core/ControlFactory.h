// The class-name factories' tables. A factory knows a fixed list of control classes, each
// a row mapping the class name to a constructor call; a name is looked up exactly (case
// matters) and the first equal row constructs the control. The window engine's list is
// EngineControlClasses (PaintManager::CreateControl), a panel's PanelControlClasses
// (MPanel::CreateControl); every control class joins the lists that know it with one row
// each when it is built, with the same argument shape in both. The New... templates are the argument shapes the rows use: what
// the constructor is given after (owner, id, rect).
#pragma once

#include <windows.h>

#include <cstddef>

#include "ui/core/Geometry.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class MControl;
class MObject;

// What the caller of a factory passes on to the constructor.
struct ControlCreateArgs {
  MObject* owner;
  UINT id;
  CRect rect;
  const wchar_t* title;
  int visible;
  int enabled;
};

struct ControlClass {
  const wchar_t* name;
  MControl* (*construct)(const ControlCreateArgs& args);
};

struct ControlClassTable {
  const ControlClass* entries;
  size_t count;
  const ControlClass* begin() const { return entries; }
  const ControlClass* end() const { return entries + count; }
};

// Constructs the class of the first row whose name equals name; null (and nothing
// constructed) for a null, empty or unknown name.
TESK_API MControl* ConstructControl(const ControlClassTable& table, const wchar_t* name,
                                    const ControlCreateArgs& args);

// The window engine's classes, in the order of comparison.
TESK_API ControlClassTable EngineControlClasses();

// A panel's classes, in the order of comparison.
TESK_API ControlClassTable PanelControlClasses();

template <class T>
MControl* NewVisible(const ControlCreateArgs& a) {
  return new T(a.owner, a.id, a.rect, a.visible);
}
template <class T>
MControl* NewVisibleEnabled(const ControlCreateArgs& a) {
  return new T(a.owner, a.id, a.rect, a.visible, a.enabled);
}
// The control is created enabled whatever the caller asked.
template <class T>
MControl* NewVisibleOne(const ControlCreateArgs& a) {
  return new T(a.owner, a.id, a.rect, a.visible, 1);
}
template <class T, class Type, Type kType>
MControl* NewVisibleOneType(const ControlCreateArgs& a) {
  return new T(a.owner, a.id, a.rect, a.visible, 1, kType);
}
template <class T>
MControl* NewTitleVisible(const ControlCreateArgs& a) {
  return new T(a.owner, a.id, a.rect, a.title, a.visible);
}
template <class T>
MControl* NewTitleVisibleEnabled(const ControlCreateArgs& a) {
  return new T(a.owner, a.id, a.rect, a.title, a.visible, a.enabled);
}
template <class T>
MControl* NewTitleVisibleOne(const ControlCreateArgs& a) {
  return new T(a.owner, a.id, a.rect, a.title, a.visible, 1);
}

}  // namespace TESK
