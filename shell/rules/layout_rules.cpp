// The main window's geometry: the control row along the bottom of the client
// area with the list above it, or in compact mode the title line, seek bar
// and volume bar alone.
#include "shell/rules/layout_rules.h"

#include <algorithm>

namespace orva {

namespace {

constexpr int32_t kVolumeBarWidth = 6;

Rect withWidth(const Rect& window, int32_t width) { return rectAt(window.left, window.top, width, window.height()); }

Rect withHeight(const Rect& window, int32_t height) { return rectAt(window.left, window.top, window.width(), height); }

Rect withHeightKeepingBottom(const Rect& window, int32_t height) {
  return {window.left, window.bottom - height, window.right, window.bottom};
}

int32_t controlRowWindowHeight(const WindowFrame& frame) { return frame.nonClientHeight() + kControlRowHeight; }

MainLayout nothingPlaced() {
  MainLayout layout{};
  layout.playlist = ListVisibility::Unchanged;
  return layout;
}

void place(MainLayout& layout, MainChild child, int32_t x, int32_t y, int32_t width, int32_t height) {
  layout.child[child] = rectAt(x, y, std::max(width, 0), std::max(height, 0));
  layout.placed[child] = true;
}

// The volume bar sits against the right border. The frame is measured from
// the window's width; a frame wider than four pixels would push the bar out
// of the client area, so it stops at the client's right edge.
MainLayout compactLayout(const WindowFrame& frame) {
  MainLayout layout = nothingPlaced();
  if (frame.window.width() < kMinCompactWindowWidth) {
    layout.resize = true;
    layout.window = withWidth(frame.window, kMinCompactWindowWidth);
    return layout;
  }
  layout.seekWidth = frame.clientWidth - 23;
  place(layout, kTitleDisplay, 13, 2, layout.seekWidth, 16);
  place(layout, kSeekBar, 13, 20, layout.seekWidth, 9);
  int32_t volumeX = std::min(frame.window.width() - 14, frame.clientWidth - kVolumeBarWidth);
  place(layout, kVolumeBar, volumeX, 2, kVolumeBarWidth, 25);
  return layout;
}

void placeControlRow(MainLayout& layout, const WindowFrame& frame) {
  const int32_t ch = frame.clientHeight;
  const int32_t upper = ch - 27;
  const int32_t lower = ch - 14;
  static constexpr MainChild kTransport[] = {kPreviousButton, kPlayButton, kPauseButton, kStopButton, kNextButton};
  int32_t x = 12;
  for (MainChild button : kTransport) {
    place(layout, button, x, upper, 25, 25);
    x += 28;
  }
  place(layout, kListToggle, 152, upper, 25, 12);
  place(layout, kEqualizerToggle, 152, lower, 25, 12);
  place(layout, kLyricsToggle, 180, lower, 25, 12);
  place(layout, kModeButton, 180, upper, 25, 12);
  layout.seekWidth = frame.clientWidth - 218;
  place(layout, kTitleDisplay, 208, upper, layout.seekWidth, 16);
  place(layout, kSeekBar, 208, ch - 9, layout.seekWidth, 9);
  place(layout, kVolumeBar, layout.seekWidth + 210, upper, kVolumeBarWidth, 25);
}

MainLayout expandedLayout(const WindowFrame& frame) {
  MainLayout layout = nothingPlaced();
  if (frame.window.width() < kMinWindowWidth) {
    layout.resize = true;
    layout.window = withWidth(frame.window, kMinWindowWidth);
    return layout;
  }
  if (frame.clientHeight == 0) {
    layout.playlist = ListVisibility::Hidden;
    layout.resize = true;
    layout.window = withHeight(frame.window, controlRowWindowHeight(frame));
    return layout;
  }
  placeControlRow(layout, frame);
  if (frame.clientHeight >= kMinListClientHeight) {
    layout.rememberHeight = true;
    layout.lastHeight = frame.window.height();
    place(layout, kPlaylistBox, 14, 6, frame.clientWidth - 19, frame.clientHeight - 38);
    layout.playlist = ListVisibility::Shown;
  } else {
    layout.playlist = ListVisibility::Hidden;
    layout.resize = true;
    layout.window = withHeight(frame.window, controlRowWindowHeight(frame));
  }
  return layout;
}

}  // namespace

MainLayout layoutMainWindow(const WindowFrame& frame, bool compactMode) {
  return compactMode ? compactLayout(frame) : expandedLayout(frame);
}

// WMSZ_LEFT 1, RIGHT 2, TOP 3, TOPLEFT 4, TOPRIGHT 5, BOTTOM 6, BOTTOMLEFT 7,
// BOTTOMRIGHT 8.
SizingEdges sizingEdges(uint32_t wmszEdge) {
  return {wmszEdge == 1 || wmszEdge == 4 || wmszEdge == 7, wmszEdge >= 3 && wmszEdge <= 5};
}

Rect limitSizing(const Rect& proposed, const SizingEdges& edges, int32_t nonClientHeight, bool compactMode) {
  Rect r = proposed;
  const int32_t minWidth = compactMode ? kMinCompactWindowWidth : kMinWindowWidth;
  const int32_t rowHeight = nonClientHeight + kControlRowHeight;
  if (r.width() < minWidth) {
    if (edges.left) {
      r.left = r.right - minWidth;
    } else {
      r.right = r.left + minWidth;
    }
  }
  if (r.height() < rowHeight || (compactMode && r.height() != rowHeight)) {
    if (edges.top) {
      r.top = r.bottom - rowHeight;
    } else {
      r.bottom = r.top + rowHeight;
    }
  }
  return r;
}

// A lastHeight below the control row (a hand-edited settings file) would
// turn the window inside out; the collapsed height is the least it expands to.
Rect toggleListWindow(const WindowFrame& frame, int32_t lastHeight) {
  const int32_t collapsed = controlRowWindowHeight(frame);
  if (frame.clientHeight == kControlRowHeight) {
    return withHeightKeepingBottom(frame.window, std::max(lastHeight, collapsed));
  }
  return withHeightKeepingBottom(frame.window, collapsed);
}

bool isCompactToggleSpot(int32_t clientX, int32_t clientY) { return clientX >= 1 && clientX <= 12 && clientY != 0; }

CompactToggle toggleCompactMode(const WindowFrame& frame, bool compactMode) {
  CompactToggle t{};
  t.compactMode = !compactMode;
  t.showButtonsAndList = compactMode;
  if (compactMode) {
    if (frame.window.width() < kMinWindowWidth) {
      t.resize = true;
      t.window = withWidth(frame.window, kMinWindowWidth);
    }
  } else if (frame.clientHeight != kControlRowHeight) {
    t.resize = true;
    t.window = withHeight(frame.window, controlRowWindowHeight(frame));
  }
  return t;
}

}  // namespace orva
