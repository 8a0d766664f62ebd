#pragma once
// The toolkit's tooltip: a pop-up window of its own (there is no system
// tooltip control) showing one text, at most 256 pixels wide (longer texts
// wrap), white with a thin frame, just below the owner's rectangle.
// Thread-safety: UI thread.
#include <memory>

#include "platform/Window.h"
#include "toolkit/core/Canvas.h"
#include "toolkit/core/Types.h"

class ToolTipWindow : public platform::WindowHandler {
 public:
  static constexpr int kMaxWidth = 256;

  explicit ToolTipWindow(platform::Window* owner);
  ~ToolTipWindow() override;

  // Shows the text for the owner's rectangle (client coordinates of the
  // owner window); false when the pop-up cannot be made.
  bool Show(const CString& text, CRect ownerRect);
  void Hide();
  bool IsShown() const;
  const CString& GetText() const { return m_text; }
  const Canvas& GetImage() const { return m_image; }
  platform::Window& GetWindow() { return m_window; }

  intptr_t OnWindowMessage(platform::Window& window, const platform::Message& message) override;

 private:
  platform::Window* m_owner;
  platform::Window m_window;
  CString m_text;
  Canvas m_image;
};
