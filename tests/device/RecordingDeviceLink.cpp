#include "RecordingDeviceLink.h"

#include <algorithm>

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

bool RecordingDeviceLink::Record(const char* name, std::vector<int> args, const CString& text,
                                 const CString& text2) {
  {
    std::lock_guard<std::mutex> lock(m_log->m_lock);
    m_log->m_calls.push_back({name, std::move(args), text, text2, GetCurrentThreadId(), t_step, m_log->NowMs()});
  }
  std::function<void()> action;
  bool real = false;
  {
    std::lock_guard<std::mutex> lock(m_actionLock);
    auto found = m_actions.find(name);
    if (found != m_actions.end()) action = found->second;
    real = std::find(m_real.begin(), m_real.end(), name) != m_real.end();
  }
  if (action) action();
  return real;
}

void RecordingDeviceLink::SetReal(std::initializer_list<const char*> names) {
  std::lock_guard<std::mutex> lock(m_actionLock);
  for (const char* name : names) m_real.emplace_back(name);
}

void RecordingDeviceLink::ClearModelCombo() {
  Record("ClearModelCombo");
  modelCombo.clear();
  modelComboIndex = -1;
}

void RecordingDeviceLink::AddModelComboItem(const CString& name, int modelId) {
  Record("AddModelComboItem", {modelId}, name);
  modelCombo.push_back({name, modelId});
}

void RecordingDeviceLink::SelectModelComboData(int modelId) {
  Record("SelectModelComboData", {modelId});
  for (size_t i = 0; i < modelCombo.size(); ++i) {
    if (modelCombo[i].data == modelId) {
      modelComboIndex = static_cast<int>(i);
      return;
    }
  }
}

int RecordingDeviceLink::GetModelComboData() {
  return modelComboIndex >= 0 && modelComboIndex < static_cast<int>(modelCombo.size())
             ? modelCombo[modelComboIndex].data
             : 0;
}

void RecordingDeviceLink::ClearKeyPicture(int picture) {
  Record("ClearKeyPicture", {picture});
  pictures[picture].keys.clear();
}

void RecordingDeviceLink::SetKeyPictureSize(int picture, int width, int height) {
  Record("SetKeyPictureSize", {picture, width, height});
  pictures[picture].width = width;
  pictures[picture].height = height;
}

void RecordingDeviceLink::SetKeyPictureColor(int picture, COLORREF color) {
  Record("SetKeyPictureColor", {picture, static_cast<int>(color)});
  pictures[picture].color = color;
}

std::vector<int> RecordingDeviceLink::GetLightKeyCodes() {
  std::vector<int> codes;
  for (const PictureKey& key : pictures[KEY_PICTURE_LIGHT].keys) codes.push_back(key.code);
  return codes;
}

std::vector<std::pair<int, COLORREF>> RecordingDeviceLink::GetLightKeyColors() {
  std::vector<std::pair<int, COLORREF>> colors;
  for (const PictureKey& key : pictures[KEY_PICTURE_LIGHT].keys) colors.emplace_back(key.code, key.color);
  return colors;
}

void RecordingDeviceLink::SetLightKeyColors(const std::vector<std::pair<int, COLORREF>>& colors) {
  Record("SetLightKeyColors", {static_cast<int>(colors.size())});
  for (const auto& [code, color] : colors) {
    for (PictureKey& key : pictures[KEY_PICTURE_LIGHT].keys) {
      if (key.code == code) {
        key.color = color;
        break;
      }
    }
  }
}

void RecordingDeviceLink::AddKeyPictureKey(int picture, const CString& name, const CString& desc, int code,
                                           const RECT& rect, const CString& icon, COLORREF color) {
  // Kept on the picture rather than in the log.
  pictures[picture].keys.push_back({name, desc, code, rect, icon, color});
}

}  // namespace testsupport
