#include "toolkit/core/ToolTipWindow.h"

#include <algorithm>
#include <cmath>

#include "platform/UiLoop.h"
#include "toolkit/core/FontRegistry.h"
#include "toolkit/core/Manager.h"

using namespace platform;

namespace {
constexpr int kPadX = 4;
constexpr int kPadY = 3;
constexpr int kGap = 2;

TextFont TipFont() {
  FontRegistry::EnsureEmbeddedFont();
  const std::wstring family = Manager::GetFontName();
  const bool usable = FontRegistry::IsRegistered(family) || FontRegistry::IsInstalled(family);
  return TextFont{usable ? family : FontRegistry::kEmbeddedFontFamily, 12, kFontStyleRegular};
}
}  // namespace

ToolTipWindow::ToolTipWindow(Window* owner) : m_owner(owner), m_window(this) {}

ToolTipWindow::~ToolTipWindow() {
  m_window.SetHandler(nullptr);
  m_window.Destroy();
}

bool ToolTipWindow::Show(const CString& text, CRect ownerRect) {
  if (text.empty()) {
    Hide();
    return true;
  }
  TextFormat format;
  format.singleLine = false;
  format.wrap = true;
  const TextFont font = TipFont();
  const TextMetrics m = Canvas::MeasureText(text, font, format, kMaxWidth - 2 * kPadX);
  const int w = std::min(kMaxWidth, static_cast<int>(std::ceil(m.logicalWidth)) + 2 * kPadX);
  const int h = static_cast<int>(std::ceil(std::max(m.logicalHeight, m.lineHeight))) + 2 * kPadY;
  m_text = text;
  m_image = Canvas(w, h);
  if (!m_image.IsValid()) return false;
  m_image.Clear(0xFFFFFFFF);
  m_image.ClearRect(CRect(0, 0, w, 1), 0xFF767676);
  m_image.ClearRect(CRect(0, h - 1, w, h), 0xFF767676);
  m_image.ClearRect(CRect(0, 0, 1, h), 0xFF767676);
  m_image.ClearRect(CRect(w - 1, 0, w, h), 0xFF767676);
  m_image.DrawText(text, CRect(kPadX, kPadY, w - kPadX, h - kPadY), font, format, 0xFF202020);

  Point at{ownerRect.left, ownerRect.bottom + kGap};
  if (m_owner && m_owner->Exists()) at = m_owner->ClientToScreen(at);
  const Rect area = GetWorkArea();
  if (area.Width() > 0) {
    at.x = std::clamp(at.x, area.left, std::max(area.left, area.right - w));
    if (at.y + h > area.bottom) at.y = std::max(area.top, at.y - h - ownerRect.Height() - 2 * kGap);
  }
  const Rect rect{at.x, at.y, at.x + w, at.y + h};
  if (!m_window.Exists()) {
    WindowCreateParams params;
    params.owner = m_owner;
    params.title = L"tooltips_class32";
    params.style = WS_POPUP;
    params.exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    params.rect = rect;
    params.popUp = true;
    if (!m_window.Create(params)) return false;
  } else {
    m_window.Move(rect);
  }
  m_window.Show(SW_SHOWNOACTIVATE);
  m_window.Invalidate(nullptr);
  return true;
}

void ToolTipWindow::Hide() {
  m_text.clear();
  if (m_window.Exists()) m_window.Show(SW_HIDE);
}

bool ToolTipWindow::IsShown() const { return m_window.Exists() && m_window.IsVisible(); }

intptr_t ToolTipWindow::OnWindowMessage(Window& window, const Message& message) {
  if (message.message == WM_PAINT) {
    if (m_image.IsValid()) {
      window.Present(m_image.Bits(), m_image.Stride(), m_image.Width(), m_image.Height(), window.GetUpdateRect());
    }
    return 0;
  }
  return window.DefaultProc(message);
}
