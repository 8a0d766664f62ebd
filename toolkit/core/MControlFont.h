#pragma once
// The text-and-image layer nearly every visible control derives from: a
// title, the font (size and style; the family is always the toolkit font),
// colours, alignment and a picture cut into equal state slices taken from
// the window's image registry.
// Thread-safety: UI thread; SetImage may also run on the timer thread (the
// registry is locked).
#include <string>

#include "toolkit/core/Canvas.h"
#include "toolkit/core/Image.h"
#include "toolkit/core/MControl.h"

class MControlFont : public MControl {
 public:
  MControlFont(MObject* parent, unsigned id, CRect rect, const wchar_t* title, int visible, int enabled,
               int responsive);

  virtual void SetTextFont(const CString& name);
  virtual int SetTextColor(ARGB colour);
  // 1 when the picture was found (a resource of the application module),
  // 0 without a manager or when it cannot be loaded (the old picture stays).
  virtual int SetImage(unsigned resId, const CString& resType, int states);
  // A file relative to the skin folder.
  virtual int SetImage(const wchar_t* file, int states);
  virtual void SetControlTitle(const wchar_t* title);
  virtual CString GetControlTitle() const;

  void SetTitle(const wchar_t* title);
  CString GetTitle() const { return GetControlTitle(); }
  void SetAlignment(unsigned horizontal);
  void SetVAlignment(unsigned vertical);
  void SetAlignment(unsigned horizontal, unsigned vertical);
  void GetAlignment(unsigned& horizontal, unsigned& vertical) const;
  void SetFont(const wchar_t* name, int size, int style);
  void SetFontStyle(int style) { m_fontStyle = style; }
  int GetFontStyle() const { return m_fontStyle; }
  CString GetTextFont() const { return m_fontName; }
  void SetFontWidth(int size) { m_fontSize = size; }
  int GetFontWidth() const { return m_fontSize; }
  ARGB GetTextColor() const { return m_textColour; }
  // The family text is drawn with; empty without a manager.
  std::wstring GetFontFamily(const wchar_t* name = nullptr);
  // The font of this control, ready for Canvas::DrawText.
  TextFont GetDrawFont();
  TextFormat GetDrawFormat() const;
  void SetTextRenderingHint(int hint) { m_renderingHint = hint; }
  CSize GetImageSize() const { return {m_sliceWidth, m_imageHeight}; }
  void SetImageCount(int states) { m_states = states; }
  int GetImageCount() const { return m_states; }
  CString GetImagePath() const { return m_imagePath; }
  const Image* GetImage() const { return m_image; }
  // Draws slice `state` of the picture stretched over dst.
  void DrawImageState(Canvas& dc, const CRect& dst, int state) const;

 protected:
  CString m_title;
  CString m_fontName;
  CString m_imagePath;
  int m_fontSize = 14;
  ARGB m_textColour = 0xFFFFFFFF;
  int m_fontStyle = kFontStyleRegular;
  std::wstring m_fontFamily;
  unsigned m_hAlign = 0;
  unsigned m_vAlign = 4;
  int m_renderingHint = 5;
  const Image* m_image = nullptr;
  int m_sliceWidth = 0;
  int m_imageHeight = 0;
  int m_states = 4;
};
