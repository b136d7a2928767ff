#include "platform/window_placement.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <vector>

namespace platform {

std::string FormatWindowPlacement(const WindowPlacement& p) {
  char text[160];
  std::snprintf(text, sizeof text, "%i,%i,%i,%i,%i,%i,%i,%i,%i,%i", p.flags, p.showCommand, p.minX,
                p.minY, p.maxX, p.maxY, p.left, p.top, p.right, p.bottom);
  return text;
}

std::optional<WindowPlacement> ParseWindowPlacement(const std::string& text) {
  std::vector<int> values;
  const char* p = text.data();
  const char* end = p + text.size();
  while (true) {
    while (p < end && *p == ' ') ++p;
    int value = 0;
    const auto [next, error] = std::from_chars(p, end, value);
    if (error != std::errc()) return std::nullopt;
    values.push_back(value);
    p = next;
    while (p < end && *p == ' ') ++p;
    if (p == end) break;
    if (*p != ',') return std::nullopt;
    ++p;
  }
  if (values.size() != 10) return std::nullopt;
  WindowPlacement w{values[0], values[1], values[2], values[3], values[4],
                    values[5], values[6], values[7], values[8], values[9]};
  if (w.right <= w.left || w.bottom <= w.top) return std::nullopt;
  return w;
}

namespace {

// One axis: [low, high) onto [areaLow, areaHigh).
void FitSpan(int& low, int& high, int areaLow, int areaHigh) {
  if (areaHigh <= areaLow) return;  // no screen to speak of
  const int length = std::min(high - low, areaHigh - areaLow);
  if (low < areaLow) low = areaLow;
  if (low + length > areaHigh) low = areaHigh - length;
  high = low + length;
}

}  // namespace

WindowPlacement FitPlacementOnScreen(WindowPlacement placement, const ScreenArea& area) {
  FitSpan(placement.left, placement.right, area.left, area.right);
  FitSpan(placement.top, placement.bottom, area.top, area.bottom);
  return placement;
}

std::optional<std::pair<int, int>> FrameSizeForScreenWidth(int screenWidth) {
  if (screenWidth <= 640) return std::pair{640, 450};
  if (screenWidth <= 800) return std::pair{790, 550};
  if (screenWidth <= 1024) return std::pair{850, 650};
  return std::nullopt;
}

}  // namespace platform
