#include "toolkit/core/MAirBladder.h"

#include <algorithm>
#include <cmath>

#include "platform/UiLoop.h"
#include "toolkit/core/FontRegistry.h"
#include "toolkit/core/MRender.h"
#include "toolkit/core/Manager.h"
#include "toolkit/core/PaintManager.h"

using namespace platform;

namespace {
constexpr int kPad = 10;
constexpr int kMaxTextWidth = 260;
constexpr int kArrowLength = 10;
constexpr int kArrowInset = 16;
constexpr int kFrameMargin = 6;
}  // namespace

MAirBladder::MAirBladder(Window* owner, PaintManager* manager) : m_owner(owner), m_manager(manager), m_window(this) {}

MAirBladder::~MAirBladder() {
  m_window.SetHandler(nullptr);
  m_window.Destroy();
}

bool MAirBladder::Create() {
  if (m_window.Exists()) return true;
  WindowCreateParams params;
  params.owner = m_owner;
  params.title = L"AirBladder Window";
  params.style = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | 0x80;
  params.exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
  params.rect = {0, 0, 100, 60};
  params.popUp = true;
  if (!m_window.Create(params)) return false;
  if (m_manager) {
    m_background = m_manager->AddImgResInfo(L"img_tip_bk.png", 1);
    m_arrowLeft = m_manager->AddImgResInfo(L"img_tip_arrow_left.png", 1);
    m_arrowRight = m_manager->AddImgResInfo(L"img_tip_arrow_right.png", 1);
    m_arrowTop = m_manager->AddImgResInfo(L"img_tip_arrow_top.png", 1);
  }
  return true;
}

void MAirBladder::SetMessage(const CString& text, CPoint screenPoint, int type, int mode) {
  (void)mode;
  m_text = text;
  FontRegistry::EnsureEmbeddedFont();
  const std::wstring family = m_manager ? m_manager->FindTempFont(Manager::GetFontName().c_str())
                                        : std::wstring(FontRegistry::kEmbeddedFontFamily);
  TextFormat format;
  format.singleLine = false;
  format.wrap = true;
  const TextMetrics m = Canvas::MeasureText(text, TextFont{family, 12, kFontStyleRegular}, format, kMaxTextWidth);
  const int w = std::max(3 * kArrowInset, static_cast<int>(std::ceil(m.logicalWidth)) + 2 * kPad);
  const int bodyH = static_cast<int>(std::ceil(std::max(m.logicalHeight, m.lineHeight))) + 2 * kPad;
  const int h = bodyH + kArrowLength;
  const int arrowX = type == 0 ? kArrowInset : type == 1 ? w / 2 : w - kArrowInset;
  // Below the point with the arrow on top; beside it when there is no room
  // below (the side arrows point back at it).
  const Rect area = GetWorkArea();
  Rect rect{screenPoint.x - arrowX, screenPoint.y, screenPoint.x - arrowX + w, screenPoint.y + h};
  bool top = true;
  if (area.Height() > 0 && rect.bottom > area.bottom) {
    top = false;
    const bool right = screenPoint.x + w + kArrowLength <= area.right;
    const int left = right ? screenPoint.x : screenPoint.x - w - kArrowLength;
    rect = {left, screenPoint.y - bodyH / 2, left + w + kArrowLength, screenPoint.y - bodyH / 2 + bodyH};
    m_image = Canvas(rect.Width(), rect.Height());
    if (!m_image.IsValid()) return;
    const CRect body = right ? CRect(kArrowLength, 0, rect.Width(), bodyH) : CRect(0, 0, w, bodyH);
    if (m_background) {
      MRender::DrawImageFrame(m_image, m_background->image.get(), body, 0, 0, m_background->image->GetWidth(),
                              m_background->image->GetHeight(), kFrameMargin);
    } else {
      m_image.FillRect(body, 0xF0FFFFFF);
    }
    const ImgResInfo* arrow = right ? m_arrowLeft : m_arrowRight;
    if (arrow) {
      const int ax = right ? 0 : w;
      m_image.DrawCanvas(arrow->image->GetFrame(0), ax, bodyH / 2 - arrow->height / 2, arrow->image->GetWidth(),
                         arrow->height, 0, 0, arrow->image->GetWidth(), arrow->height);
    }
    m_image.DrawText(text, CRect(body.left + kPad, kPad, body.right - kPad, bodyH - kPad),
                     TextFont{family, 12, kFontStyleRegular}, format, 0xFF202020);
  } else {
    m_image = Canvas(w, h);
    if (!m_image.IsValid()) return;
    Render(arrowX, top);
    m_image.DrawText(text, CRect(kPad, kArrowLength + kPad, w - kPad, h - kPad), TextFont{family, 12, 0}, format,
                     0xFF202020);
  }
  if (!Create()) return;
  m_window.Move(rect);
  m_window.Invalidate(nullptr);
}

void MAirBladder::Render(int arrowX, bool arrowTop) {
  (void)arrowTop;
  const CRect body(0, kArrowLength, m_image.Width(), m_image.Height());
  if (m_background) {
    MRender::DrawImageFrame(m_image, m_background->image.get(), body, 0, 0, m_background->image->GetWidth(),
                            m_background->image->GetHeight(), kFrameMargin);
  } else {
    m_image.FillRect(body, 0xF0FFFFFF);
  }
  if (m_arrowTop) {
    const int aw = m_arrowTop->image->GetWidth();
    m_image.DrawCanvas(m_arrowTop->image->GetFrame(0), arrowX - aw / 2, 0, aw, kArrowLength, 0, 0, aw,
                       m_arrowTop->height);
  }
}

void MAirBladder::Show(bool show) {
  if (!m_window.Exists()) return;
  m_window.Show(show ? SW_SHOWNOACTIVATE : SW_HIDE);
}

bool MAirBladder::IsShown() const { return m_window.Exists() && m_window.IsVisible(); }

intptr_t MAirBladder::OnWindowMessage(Window& window, const Message& message) {
  if (message.message == WM_PAINT) {
    if (m_image.IsValid()) {
      window.Present(m_image.Bits(), m_image.Stride(), m_image.Width(), m_image.Height(), window.GetUpdateRect());
    }
    return 0;
  }
  return window.DefaultProc(message);
}
