#pragma once
// The gallery's second window: a toolkit dialog built through the control
// factory (areas, a scrolled panel, a tooltip), for people to look at and
// for the screenshot test (taviui-gallery --dialog --screenshot FILE).
#include <string>

#include "toolkit/core/Types.h"

namespace gallery {

constexpr int kDialogWidth = 480;
constexpr int kDialogHeight = 320;

// Where the screenshot test looks, and what it expects there.
constexpr CRect kTitleArea(10, 10, 470, 60);
constexpr ARGB kTitleFrame = 0xFFFDA810;
constexpr COLORREF kTitleFill = RGB(40, 60, 90);
constexpr CRect kPanelRect(250, 70, 470, 310);
constexpr int kStripeHeight = 60;
constexpr int kStripes = 6;
// The panel starts scrolled by this many pixels.
constexpr int kPanelScroll = 60;
constexpr COLORREF StripeColour(int index) {
  constexpr COLORREF kColours[kStripes] = {RGB(200, 60, 60),  RGB(60, 160, 80),  RGB(60, 90, 200),
                                           RGB(210, 170, 40), RGB(150, 70, 170), RGB(40, 170, 170)};
  return kColours[((index % kStripes) + kStripes) % kStripes];
}

// Runs the dialog until it is closed; with a screenshot path, writes what
// the window shows after its first paint and closes.  Returns the exit code.
int RunDialog(const std::string& screenshot);

}  // namespace gallery
