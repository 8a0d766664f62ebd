#include "tools/taviui-gallery/GalleryDialog.h"

#include <cstring>
#include <vector>

#include "platform/UiLoop.h"
#include "toolkit/core/CArea.h"
#include "toolkit/core/CScrollVertical.h"
#include "toolkit/core/MDialog.h"
#include "toolkit/core/MPanel.h"

namespace gallery {

namespace {

// A panel that shows its children scrolled (plain MPanel leaves that to
// the class deriving from it).
class ScrolledPanel : public MPanel {
 public:
  using MPanel::MPanel;
  int DrawSubControls(Canvas& dc, CRect clip) override {
    if (!ContentOverflows()) return MPanel::DrawSubControls(dc, clip);
    DrawScrolledContent(dc, clip);
    return 1;
  }
};

class GalleryDialog : public MDialog {
 public:
  explicit GalleryDialog(std::string screenshot) : m_screenshot(std::move(screenshot)) {}

  void InitUI(CRect client) override {
    (void)client;
    PaintManager& pm = GetPaintManager();
    auto* title = static_cast<CArea*>(CreateArea(L"CArea", 100, kTitleArea, L"", 1, 1));
    if (title) {
      title->SetTransparent(0, 0, kTitleFill);
      title->SetFrame(1, kTitleFrame);
      title->SetTooltip(L"Areas are drawn first: page backgrounds, frames and gradients.");
    }
    if (auto* fade = static_cast<CArea*>(CreateArea(L"CArea", 101, CRect(10, 70, 240, 310), L"", 1, 1))) {
      fade->SetTransparent(20, 90, RGB(255, 255, 255));
    }
    auto* panel = new ScrolledPanel(this, 200, kPanelRect, 1);
    panel->SetManager(&pm);
    panel->InitControl(&pm);
    pm.AddControl(panel, 1);
    for (int i = 0; i < kStripes; ++i) {
      const CRect stripe(kPanelRect.left, kPanelRect.top + i * kStripeHeight, kPanelRect.right - 7,
                         kPanelRect.top + (i + 1) * kStripeHeight);
      if (auto* area = static_cast<CArea*>(panel->CreateControl(L"CArea", 201 + i, stripe, L"", 1, 1))) {
        area->SetTransparent(0, 0, StripeColour(i));
        area->SetTooltip(L"A stripe inside the scrolled panel");
      }
    }
    panel->Relayout();
    // Start part-way down: offset = (content - panel) x position / range.
    CScrollVertical* bar = panel->GetScrollVertical();
    const int overflow = panel->GetVirtualHeight() - kPanelRect.Height();
    if (overflow > 0) bar->SetPosition(kPanelScroll * bar->GetRange() / overflow);
  }

  long OnWindowMessage(unsigned msg, unsigned wParam, long lParam) override {
    const long result = MDialog::OnWindowMessage(msg, wParam, lParam);
    if (msg == platform::WM_PAINT && !m_screenshot.empty() && !m_shot) {
      m_shot = true;
      m_exitCode = SaveScreenshot() ? 0 : 1;
      DoOK();
    }
    return result;
  }

  int ExitCode() const { return m_exitCode; }

 private:
  bool SaveScreenshot() {
    std::vector<uint32_t> pixels;
    int w = 0, h = 0;
    if (!GetNativeWindow()->CaptureContents(pixels, w, h)) return false;
    Canvas shot(w, h);
    if (!shot.IsValid()) return false;
    for (int y = 0; y < h; ++y) {
      std::memcpy(shot.Bits() + static_cast<size_t>(y) * shot.Stride(), &pixels[static_cast<size_t>(y) * w],
                  static_cast<size_t>(w) * 4);
    }
    shot.MarkDirty();
    return shot.SavePng(m_screenshot);
  }

  std::string m_screenshot;
  bool m_shot = false;
  int m_exitCode = 0;
};

}  // namespace

int RunDialog(const std::string& screenshot) {
  GalleryDialog dialog(screenshot);
  if (!dialog.Create(0, L"TaviUI gallery dialog", platform::WS_POPUP, 0,
                     CRect(0, 0, kDialogWidth, kDialogHeight))) {
    return 1;
  }
  dialog.CenterWindow(nullptr);
  const int result = dialog.ShowModal(platform::SW_SHOW);
  if (result < 0) return 1;
  return dialog.ExitCode();
}

}  // namespace gallery
