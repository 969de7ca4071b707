// WheelSettle: the settling of a value set with the mouse wheel. Every notch (window's
// thread) restarts the wait; the first of the window's multimedia ticks more than 200 ms
// after the last notch (timer thread) ends it and hands the control's NOTIFY_CLICKED to the
// window's thread. The owner's handler of that notification stores settings, may open a
// message box and changes other controls, none of which a tick handler may do. A control
// removed or deleted before the posted call runs is not notified. Embedded in the control it
// settles; the control must outlive no engine.
#pragma once

#include <atomic>
#include <memory>

namespace TESK {

class MControl;

class WheelSettle {
public:
  WheelSettle();
  WheelSettle(const WheelSettle&) = delete;
  WheelSettle& operator=(const WheelSettle&) = delete;

  // A notch: the wait starts again from now. Window's thread.
  void Notch();
  // A tick: once the wait has run out, ends it and posts control's (NOTIFY_CLICKED, 0, 0) to
  // its window's thread; true then. Without a window the notification is dropped.
  bool Tick(MControl& control);

  static constexpr long long kSettleMs = 200;

private:
  // Milliseconds of the steady clock at the last notch; 0 while nothing waits.
  std::atomic<long long> m_notchTime;
  // Posted calls hold weak copies: an expired one means the control has gone.
  std::shared_ptr<int> m_life;
};

}  // namespace TESK
