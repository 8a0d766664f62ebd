#pragma once
// The toolkit's process-wide settings: the module instance, the name the
// application keeps here, the skin theme, the toolkit font and the selection
// colour.  Every member is static; there are no Manager objects.
//
// The application writes these once during start-up, before any window or
// other thread exists, and everything reads them afterwards; hence no lock.
// Not for use from static initialisers.
#include <cstdint>
#include <string>

class Manager {
 public:
  // Opaque to the toolkit: the application passes whatever identifies its
  // module (the program's load address) and gets it back unchanged.
  using InstanceHandle = const void*;

  Manager() = delete;

  static void SetInstance(InstanceHandle instance);
  static InstanceHandle GetInstance();

  // The toolkit itself never uses the device name; the application stores
  // it here and reads it back.  "Kestrel" until it is set.
  static void SetDeviceName(const std::wstring& name);
  static std::wstring GetDeviceName();

  // The skin theme folder below skins/, always "theme1/".
  static std::wstring GetTheme();

  // ARGB colour of selections in lists and keyboard pictures.
  static uint32_t GetSelectColor();

  static void SetFont(const std::wstring& name, int size);
  static void SetFontName(const std::wstring& name);
  static std::wstring GetFontName();
  // Default text size of new controls, in pixels.
  static int GetFontWidth();

 private:
  static InstanceHandle m_hInstance;
  static std::wstring m_dev_name;
  static std::wstring m_fontname;
  static int m_fontwidth;
  static uint32_t m_select_color;
};
