// MusicLighting: the main window's side of the music light mode. Each profile keeps four
// music settings (bar style, sensitivity, background style and background brightness) in its
// music row; the lighting page's four music controls change them and hand them to the
// visualizer. The keyboard's rows and columns are mapped onto the visualizer's 256 x 64
// picture, and the worker's idle step samples the latest picture there, one pixel per key,
// for the lighting picture and the keyboard.
//
// The main window owns one, beside its visualizer. Threads: the handlers and the settings
// refresh run on the UI thread; the grid is rebuilt on either thread and sampled by the
// worker (both under the grid's lock); the visualizer's picture is read under its own lock.
#pragma once

#include <windows.h>

#include <mutex>
#include <utility>
#include <vector>

class DeviceLink;
class Visualizer;
struct LightPageDef;
struct MUSICLAYER_DATA;

// Gain in percent for the sensitivity positions 0..5.
constexpr int kMusicGainTable[6] = {100, 200, 300, 500, 800, 1000};
constexpr int kMusicGridRows = 8;
constexpr int kMusicGridColumns = 32;

// The picture's column for each keyboard column and its row for each keyboard row, for a
// layout of rowCount x colCount keys (both capped to the grid); the rest 0. False, tables
// untouched, when a count is not positive.
bool BuildMusicGrid(int rowCount, int colCount, int (&columns)[kMusicGridColumns], int (&rows)[kMusicGridRows]);

class MusicLighting {
 public:
  MusicLighting(DeviceLink& link, LightPageDef& controls, Visualizer& visualizer);
  MusicLighting(const MusicLighting&) = delete;
  MusicLighting& operator=(const MusicLighting&) = delete;

  // Rebuilds the tables from the model's row and column counts; counts of 0 keep them.
  void InitMusicGrid();
  // Shows profile's stored settings on the controls and hands them to the visualizer; the
  // visualizer's capture restarts on the first endpoint. UI thread.
  void RefreshMusicSettings(int profile);

  // The four controls' handlers: the visualizer takes the new value (paused meanwhile), the
  // keyboard's profile row stores it. Each returns 1.
  int OnMusicModeChanged();
  int OnMusicSensitivityChanged();
  int OnMusicColorChanged();
  int OnMusicBrightnessChanged();

  // The music light mode switches the visualizer's analysis on and off.
  void SetActive(bool active);

  // The colour of every key of the matrix, sampled from the visualizer's latest picture (taken
  // once, under its lock), as (key usage, colour). lit tells whether any colour is above 1.
  // False when the model gave no rows or columns.
  bool SampleFrame(std::vector<std::pair<int, COLORREF>>& colors, bool& lit);

  // A copy of the tables, for the pages that show them.
  void Grid(int (&columns)[kMusicGridColumns], int (&rows)[kMusicGridRows]);

 private:
  // The visualizer stops its analysis and the frame in progress ends; returns whether it ran.
  bool Pause();
  // The music row of the keyboard's profile with one column changed; nothing without a row.
  void Store(void (*change)(MUSICLAYER_DATA& row, int value), int value);

  DeviceLink& m_link;
  LightPageDef& m_controls;
  Visualizer& m_visualizer;
  std::mutex m_gridLock;
  int m_musicColumns[kMusicGridColumns] = {};
  int m_musicRows[kMusicGridRows] = {};
};
