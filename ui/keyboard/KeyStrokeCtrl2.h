// KeyStrokeCtrl2: the key-travel picture of the performance page, a 410 px bar standing for
// the switch's whole travel, filled from the left up to the actuation point, a round thumb and
// the actuation in millimetres at its right end. The program hands it the switch type with
// the type's full travel from the switch table (0.01 mm), of which half is the limit in steps.
// Every release is the picture's NOTIFY_CLICKED. The input on the bar, the dead zones, the
// settling and the worker's live travel are KeyStrokeBase's. Made by the panel factory
// ("KeyStrokeCtrl2").
#pragma once

#include <windows.h>

#include <map>

#include "ui/core/CString.h"
#include "ui/core/TeskApi.h"
#include "ui/keyboard/KeyStrokeBase.h"

namespace TESK {

class TESK_API KeyStrokeCtrl2 : public KeyStrokeBase {
public:
  KeyStrokeCtrl2(MObject* owner, UINT id, CRect rect, int visible, int enabled);

  // Overrides, in slot order.
  ~KeyStrokeCtrl2() override;

  // The switch type and its full travel in 0.01 mm; the limit is half of it. A travel giving
  // a limit below 1 is ignored.
  void SetKeyStrokeInfo(int switchType, int travel);
  // top: the top dead zone; bottom: the steps between the upper bound and the switch's
  // deepest step in the table (0 for a type the table lacks).
  void GetDeadzoneValue(int& top, int& bottom) const;
  // The names of the four switch types; kept, not drawn.
  void SetSwitchName(CString first, CString second, CString third, CString fourth);
  // One of the four names; empty for an index naming none.
  CString GetSwitchName(int index) const {
    return index >= 0 && index < kSwitchNames ? m_switchNames[index] : CString();
  }
  // The millimetre texts of steps 1 to 200; kept.
  void InitPrecisionData();

  static constexpr int kSwitchNames = 4;

protected:
  void RenderTravel(Gdiplus::Graphics& g, int width, int height) override;

  CString m_switchNames[kSwitchNames];
  std::map<int, CString> m_precision;
};

}  // namespace TESK
