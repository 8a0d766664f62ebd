#include "toolkit/core/MControlFont.h"

#include "toolkit/core/Manager.h"
#include "toolkit/core/PaintManager.h"

MControlFont::MControlFont(MObject* parent, unsigned id, CRect rect, const wchar_t* title, int visible, int enabled,
                           int responsive)
    : MControl(parent, id, rect, visible, enabled, responsive),
      m_title(title ? title : L""),
      m_fontName(Manager::GetFontName()),
      m_fontSize(Manager::GetFontWidth()) {}

void MControlFont::SetTextFont(const CString& name) { m_fontName = name; }

int MControlFont::SetTextColor(ARGB colour) {
  m_textColour = colour;
  return 1;
}

int MControlFont::SetImage(unsigned resId, const CString& resType, int states) {
  if (!m_manager) return 0;
  ImgResInfo* info = m_manager->AddImgResInfo(resId, resType, states, 1);
  if (!info) return 0;
  m_states = states;
  m_image = info->image.get();
  m_sliceWidth = info->sliceWidth;
  m_imageHeight = info->height;
  m_imagePath.clear();
  if (m_visible) UpdateControl(1);
  return 1;
}

int MControlFont::SetImage(const wchar_t* file, int states) {
  if (!m_manager || !file) return 0;
  ImgResInfo* info = m_manager->AddImgResInfo(file, states);
  if (!info) return 0;
  m_states = states;
  m_image = info->image.get();
  m_sliceWidth = info->sliceWidth;
  m_imageHeight = info->height;
  m_imagePath = file;
  if (m_visible) UpdateControl(1);
  return 1;
}

void MControlFont::SetControlTitle(const wchar_t* title) { m_title = title ? title : L""; }

CString MControlFont::GetControlTitle() const { return m_title; }

void MControlFont::SetTitle(const wchar_t* title) {
  SetControlTitle(title);
  if (m_visible) UpdateControl(1);
}

void MControlFont::SetAlignment(unsigned horizontal) {
  if (horizontal == m_hAlign) return;
  m_hAlign = horizontal;
  if (m_visible) UpdateControl(1);
}

void MControlFont::SetVAlignment(unsigned vertical) {
  if (vertical == m_vAlign) return;
  m_vAlign = vertical;
  if (m_visible) UpdateControl(1);
}

void MControlFont::SetAlignment(unsigned horizontal, unsigned vertical) {
  SetAlignment(horizontal);
  SetVAlignment(vertical);
}

void MControlFont::GetAlignment(unsigned& horizontal, unsigned& vertical) const {
  horizontal = m_hAlign;
  vertical = m_vAlign;
}

void MControlFont::SetFont(const wchar_t* name, int size, int style) {
  m_fontName = name ? name : L"";
  m_fontSize = size;
  m_fontStyle = style;
}

std::wstring MControlFont::GetFontFamily(const wchar_t* name) {
  // Every control draws with the toolkit font, whatever it was given.
  (void)name;
  if (!m_manager) return {};
  if (m_fontFamily.empty()) m_fontFamily = m_manager->FindTempFont(Manager::GetFontName().c_str());
  return m_fontFamily;
}

TextFont MControlFont::GetDrawFont() { return TextFont{GetFontFamily(), m_fontSize, m_fontStyle}; }

TextFormat MControlFont::GetDrawFormat() const {
  TextFormat format;
  format.horizontal = m_hAlign == 1 ? TextAlign::Center : m_hAlign == 2 ? TextAlign::Far : TextAlign::Near;
  format.vertical = m_vAlign == 4 ? TextAlign::Center : m_vAlign == 8 ? TextAlign::Far : TextAlign::Near;
  return format;
}

void MControlFont::DrawImageState(Canvas& dc, const CRect& dst, int state) const {
  if (!m_image || m_sliceWidth <= 0 || m_imageHeight <= 0) return;
  dc.DrawCanvas(m_image->GetFrame(0), dst.left, dst.top, dst.Width(), dst.Height(), state * m_sliceWidth, 0,
                m_sliceWidth, m_imageHeight);
}
