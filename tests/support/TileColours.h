// Sets the library's control colours (Manager's normal, hover and down colours, all 0xFF191919
// by default) to ones a pixel tells apart, for one scope; the old ones come back at its end.
#pragma once

#include "ui/core/Manager.h"

namespace testsupport {

class DistinctTileColours {
public:
  static constexpr Gdiplus::ARGB kNormal = 0xFF202020;
  static constexpr Gdiplus::ARGB kHover = 0xFF404040;
  static constexpr Gdiplus::ARGB kDown = 0xFFFF0000;

  DistinctTileColours()
      : m_normal(TESK::Manager::m_normal_color), m_hover(TESK::Manager::m_hover_color), m_down(TESK::Manager::m_down_color) {
    TESK::Manager::m_normal_color = kNormal;
    TESK::Manager::m_hover_color = kHover;
    TESK::Manager::m_down_color = kDown;
  }
  ~DistinctTileColours() {
    TESK::Manager::m_normal_color = m_normal;
    TESK::Manager::m_hover_color = m_hover;
    TESK::Manager::m_down_color = m_down;
  }
  DistinctTileColours(const DistinctTileColours&) = delete;
  DistinctTileColours& operator=(const DistinctTileColours&) = delete;

private:
  Gdiplus::ARGB m_normal, m_hover, m_down;
};

}  // namespace testsupport
