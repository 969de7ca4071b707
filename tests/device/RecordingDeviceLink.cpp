#include "RecordingDeviceLink.h"

namespace testsupport {

namespace {
thread_local int t_step = 0;  // the step the calling thread is in (0: none)
}

std::vector<LinkCall> CallLog::Calls() {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_calls;
}

std::vector<std::string> CallLog::Names() {
  std::vector<std::string> names;
  for (const LinkCall& call : Calls()) {
    std::string name = call.name;
    for (size_t i = 0; i < call.args.size(); ++i) name += (i ? "," : "(") + std::to_string(call.args[i]);
    if (!call.args.empty()) name += ")";
    names.push_back(name);
  }
  return names;
}

void CallLog::Clear() {
  std::lock_guard<std::mutex> lock(m_lock);
  m_calls.clear();
}

std::vector<double> CallLog::StepStarts() {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_stepStarts;
}

double CallLog::NowMs() const {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - m_epoch).count();
}

RecordingDeviceLink::RecordingDeviceLink(HidDeviceManager& hid) : DeviceLink(hid) {}

RecordingDeviceLink::~RecordingDeviceLink() {
  Stop();
  WaitForEnd();
}

void RecordingDeviceLink::SetAction(const std::string& name, std::function<void()> action) {
  std::lock_guard<std::mutex> lock(m_actionLock);
  m_actions[name] = std::move(action);
}

void RecordingDeviceLink::WorkerStep() {
  {
    std::lock_guard<std::mutex> lock(m_log->m_lock);
    m_log->m_stepStarts.push_back(m_log->NowMs());
  }
  t_step = ++m_step;
  if (const int spin = m_stepSpinUs) {
    const double until = m_log->NowMs() + spin / 1000.0;
    while (m_log->NowMs() < until) {
    }
  }
  DeviceLink::WorkerStep();
  t_step = 0;
}

bool RecordingDeviceLink::GetMainWindowRect(RECT* rect) {
  *rect = mainRect;
  return true;
}

bool RecordingDeviceLink::GetForegroundRect(RECT* rect) {
  if (!hasForeground) return false;
  *rect = foregroundRect;
  return true;
}

void RecordingDeviceLink::Record(const char* name, std::vector<int> args, const CString& text) {
  {
    std::lock_guard<std::mutex> lock(m_log->m_lock);
    m_log->m_calls.push_back({name, std::move(args), text, GetCurrentThreadId(), t_step, m_log->NowMs()});
  }
  std::function<void()> action;
  {
    std::lock_guard<std::mutex> lock(m_actionLock);
    auto found = m_actions.find(name);
    if (found != m_actions.end()) action = found->second;
  }
  if (action) action();
}

}  // namespace testsupport
