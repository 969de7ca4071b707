#include "app/pages/MusicLighting.h"

#include <algorithm>

#include "app/pages/LightPageDef.h"
#include "app/pages/MusicStyles.h"
#include "app/pages/Visualizer.h"
#include "device/DeviceLink.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/MComboBox.h"
#include "ui/controls/MSlider.h"

namespace {

// The visualizer's thread finishes the frame in progress within this time after its analysis
// is switched off; settings change only in between.
constexpr DWORD kPauseMs = 150;
constexpr int kSensitivityDefault = 3;
constexpr int kBrightnessDefault = 5;
constexpr int kSliderMax = 5;
constexpr int kPercentPerStep = 20;

int GainOf(int position) { return kMusicGainTable[std::clamp(position, 0, kSliderMax)]; }

long CurData(TESK::MComboBox* combo) { return combo ? combo->GetCurData() : 0; }
int Position(TESK::MSlider* slider) { return slider ? slider->GetProgress() : 0; }

}  // namespace

bool BuildMusicGrid(int rowCount, int colCount, int (&columns)[kMusicGridColumns], int (&rows)[kMusicGridRows]) {
  if (rowCount <= 0 || colCount <= 0) return false;
  std::fill(std::begin(columns), std::end(columns), 0);
  std::fill(std::begin(rows), std::end(rows), 0);
  // The spacing follows the layout's own counts; only the grid's room is filled.
  const int step = (kMusicWidth - 1) / colCount;
  for (int c = 0; c < std::min(colCount, kMusicGridColumns); ++c) columns[c] = c * step;
  const int spacing = (kMusicHeight - 2) / rowCount;
  for (int r = 0; r < std::min(rowCount, kMusicGridRows); ++r) {
    rows[r] = static_cast<int>(static_cast<double>(spacing) * r + 2 + spacing * 0.5);
  }
  return true;
}

MusicLighting::MusicLighting(DeviceLink& link, LightPageDef& controls, Visualizer& visualizer)
    : m_link(link), m_controls(controls), m_visualizer(visualizer) {}

void MusicLighting::InitMusicGrid() {
  std::lock_guard<std::mutex> lock(m_gridLock);
  BuildMusicGrid(m_link.m_rowCount, m_link.m_colCount, m_musicColumns, m_musicRows);
}

void MusicLighting::Grid(int (&columns)[kMusicGridColumns], int (&rows)[kMusicGridRows]) {
  std::lock_guard<std::mutex> lock(m_gridLock);
  std::copy(std::begin(m_musicColumns), std::end(m_musicColumns), columns);
  std::copy(std::begin(m_musicRows), std::end(m_musicRows), rows);
}

void MusicLighting::SetActive(bool active) { m_visualizer.m_active = active; }

bool MusicLighting::Pause() {
  const bool was = m_visualizer.m_active.exchange(false);
  Sleep(kPauseMs);
  return was;
}

// ---- Settings ----

void MusicLighting::RefreshMusicSettings(int profile) {
  LightPageDef& c = m_controls;
  if (c.m_comboMusicMode) c.m_comboMusicMode->SetCurSel(0);
  if (c.m_comboMusicColor) c.m_comboMusicColor->SetCurSel(0);
  if (c.m_sliderMusicSensitivity) c.m_sliderMusicSensitivity->SetProgress(kSensitivityDefault);
  if (c.m_sliderMusicSpeed) c.m_sliderMusicSpeed->SetProgress(kBrightnessDefault);

  const bool wasActive = Pause();
  MUSICLAYER_DATA row;
  if (!ConfigDatabase::Instance().GetMusicLayer(profile, row)) {
    m_visualizer.m_active = wasActive;
    return;
  }
  if (c.m_comboMusicMode) c.m_comboMusicMode->SelectData(row.foremode);
  if (c.m_comboMusicColor) c.m_comboMusicColor->SelectData(row.backmode);
  // The sliders cap stored values to their range 0..5.
  if (c.m_sliderMusicSensitivity) c.m_sliderMusicSensitivity->SetProgress(row.fore_amplitude);
  if (c.m_sliderMusicSpeed) c.m_sliderMusicSpeed->SetProgress(row.backb_right);

  // Capture starts again on the first endpoint; the visualizer's own thread carries it out.
  m_visualizer.m_deviceIndex = 0;
  m_visualizer.RequestCaptureRestart();

  m_visualizer.m_foreStyle = row.foremode;
  m_visualizer.m_gain = GainOf(c.m_sliderMusicSensitivity ? Position(c.m_sliderMusicSensitivity) : row.fore_amplitude);
  m_visualizer.m_backStyle = row.backmode;
  m_visualizer.m_backBrightness =
      (c.m_sliderMusicSpeed ? Position(c.m_sliderMusicSpeed) : std::clamp(row.backb_right, 0, kSliderMax)) *
      kPercentPerStep;
  m_visualizer.m_active = wasActive;
}

void MusicLighting::Store(void (*change)(MUSICLAYER_DATA& row, int value), int value) {
  // The keyboard's profile, the one the settings refresh shows.
  const int profile = m_link.m_deviceProfile + 1;
  ConfigDatabase& db = ConfigDatabase::Instance();
  MUSICLAYER_DATA row;
  if (!db.GetMusicLayer(profile, row)) return;
  change(row, value);
  db.UpdateMusicLayer(profile, row);
}

int MusicLighting::OnMusicModeChanged() {
  const int style = static_cast<int>(CurData(m_controls.m_comboMusicMode));
  Pause();
  m_visualizer.m_foreStyle = style;
  m_visualizer.m_active = true;
  Store([](MUSICLAYER_DATA& row, int value) { row.foremode = value; }, style);
  return 1;
}

int MusicLighting::OnMusicSensitivityChanged() {
  const int position = Position(m_controls.m_sliderMusicSensitivity);
  Pause();
  m_visualizer.m_gain = GainOf(position);
  m_visualizer.m_active = true;
  Store([](MUSICLAYER_DATA& row, int value) { row.fore_amplitude = value; }, position);
  return 1;
}

int MusicLighting::OnMusicColorChanged() {
  const int style = static_cast<int>(CurData(m_controls.m_comboMusicColor));
  Pause();
  m_visualizer.m_backStyle = style;
  m_visualizer.m_active = true;
  Store([](MUSICLAYER_DATA& row, int value) { row.backmode = value; }, style);
  return 1;
}

int MusicLighting::OnMusicBrightnessChanged() {
  const int position = Position(m_controls.m_sliderMusicSpeed);
  Pause();
  m_visualizer.m_backBrightness = position * kPercentPerStep;
  m_visualizer.m_active = true;
  Store([](MUSICLAYER_DATA& row, int value) { row.backb_right = value; }, position);
  return 1;
}

// ---- Frames ----

bool MusicLighting::SampleFrame(std::vector<std::pair<int, COLORREF>>& colors, bool& lit) {
  colors.clear();
  lit = false;
  const int rowCount = std::min(m_link.m_rowCount, kMusicGridRows);
  const int colCount = std::min(m_link.m_colCount, kMusicGridColumns);
  if (rowCount <= 0 || colCount <= 0) return false;
  int columns[kMusicGridColumns], rows[kMusicGridRows];
  Grid(columns, rows);
  // One published frame for the whole step: the visualizer swaps frames only between reads.
  m_visualizer.ReadFrontFrame([&](const MusicLayer& frame) {
    for (int r = 0; r < rowCount; ++r) {
      for (int c = 0; c < colCount; ++c) {
        const int usage = m_link.m_keyMatrix[r][c];
        if (usage == 0) continue;
        const COLORREF color = frame[rows[r]][columns[c]];
        if (color > 1) lit = true;
        colors.emplace_back(usage, color);
      }
    }
  });
  return true;
}
