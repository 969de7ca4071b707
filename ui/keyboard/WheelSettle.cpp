#include "ui/keyboard/WheelSettle.h"

#include <algorithm>
#include <chrono>

#include "ui/core/MControl.h"
#include "ui/core/MObject.h"
#include "ui/core/PaintManager.h"

namespace TESK {

namespace {

// The steady clock in milliseconds, never 0 (0 marks "no notch waiting"). GetTickCount
// moves in steps of up to 16 ms and would end the wait early.
long long NowMs() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return std::max<long long>(1, std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

}  // namespace

WheelSettle::WheelSettle() : m_notchTime(0), m_life(std::make_shared<int>(0)) {}

void WheelSettle::Notch() { m_notchTime = NowMs(); }

bool WheelSettle::Tick(MControl& control) {
  long long notch = m_notchTime.load();
  if (notch == 0 || NowMs() - notch <= kSettleMs) return false;
  // A notch that arrives meanwhile keeps the wait going.
  if (!m_notchTime.compare_exchange_strong(notch, 0)) return false;
  PaintManager* engine = control.GetManager();
  if (!engine) return true;
  std::weak_ptr<int> life = m_life;
  MControl* target = &control;
  engine->PostCallable([life, target] {
    if (!life.expired() && !target->IsRemoved()) target->SendMessageW(NOTIFY_CLICKED, 0, 0);
  });
  return true;
}

}  // namespace TESK
