#pragma once
// The balloon tip: a pop-up with a text on the skin's tip picture and an
// arrow (left, middle or right of its top edge) pointing at a screen point,
// usually the bottom edge of a control.
// Thread-safety: UI thread.
#include "platform/Window.h"
#include "toolkit/core/Canvas.h"
#include "toolkit/core/Types.h"

struct ImgResInfo;
class PaintManager;

class MAirBladder : public platform::WindowHandler {
 public:
  MAirBladder(platform::Window* owner, PaintManager* manager);
  ~MAirBladder() override;

  // Creates the window and loads the four pictures; false when the window
  // cannot be made (missing pictures only leave plain colours).
  bool Create();
  // type 0/1/2: the arrow at the left end, middle or right end.
  void SetMessage(const CString& text, CPoint screenPoint, int type, int mode);
  void Show(bool show);
  bool IsShown() const;
  const CString& GetText() const { return m_text; }
  const Canvas& GetImage() const { return m_image; }
  platform::Window& GetWindow() { return m_window; }

  intptr_t OnWindowMessage(platform::Window& window, const platform::Message& message) override;

 private:
  void Render(int arrowX, bool arrowTop);

  platform::Window* m_owner;
  PaintManager* m_manager;
  platform::Window m_window;
  ImgResInfo* m_background = nullptr;
  ImgResInfo* m_arrowLeft = nullptr;
  ImgResInfo* m_arrowRight = nullptr;
  ImgResInfo* m_arrowTop = nullptr;
  CString m_text;
  Canvas m_image;
};
