#include "toolkit/core/PaintManager.h"

#include <algorithm>

#include "platform/TextConvert.h"
#include "platform/UiLoop.h"
#include "toolkit/core/ControlFactory.h"
#include "toolkit/core/FontRegistry.h"
#include "toolkit/core/MAirBladder.h"
#include "toolkit/core/MControl.h"
#include "toolkit/core/MRender.h"
#include "toolkit/core/MWindow.h"
#include "toolkit/core/Manager.h"
#include "toolkit/core/SkinFolder.h"
#include "toolkit/core/ToolTipWindow.h"

namespace {

constexpr const wchar_t* kSourceHanFamily = L"SourceHanSansCN-Regular";
constexpr const wchar_t* kSourceHanFile = L"SourceHanSansCN-Regular.otf";
constexpr unsigned kTimerNumbers = 240;

// Taken out under the lock, deleted after it (see MControl).
void DeleteList(std::vector<MControl*>& list, std::recursive_mutex& lock) {
  std::vector<MControl*> doomed;
  {
    std::scoped_lock guard(lock);
    doomed.swap(list);
  }
  for (MControl* control : doomed) delete control;
}

}  // namespace

PaintManager::PaintManager() = default;

PaintManager::~PaintManager() {
  // No tick may reach a half-destroyed manager.
  PlumeTimer::KillTimer();
  DestroyData();
}

void PaintManager::Init(platform::Window* window, MWindow* dialog) {
  if (!window || !window->Exists()) return;
  m_window = window;
  m_dialog = dialog;
  m_uiThread = std::this_thread::get_id();
  const std::wstring fontFile = SkinFolder::FontDirectory() + kSourceHanFile;
  AddTempFont(kSourceHanFamily, fontFile.c_str());
  m_initialised = true;
  m_scrollVId = 102;
  m_scrollHId = 101;
  AddGDITempFont(FontRegistry::kEmbeddedFontResource);
}

void PaintManager::DestroyData() {
  KillMTimer();
  ClearTimers();
  m_tooltip.reset();
  m_airBladder.reset();
  ClearAllControls();
  m_hover = nullptr;
  m_focus = nullptr;
  {
    std::scoped_lock lock(m_periodicLock);
    m_periodic.clear();
  }
  m_backImage.reset();
  ClearImgResInfo();
  ClearTempFont();
  m_initialised = false;
}

bool PaintManager::OnUiThread() const {
  return m_uiThread == std::thread::id() || m_uiThread == std::this_thread::get_id();
}

// ---- background ----

void PaintManager::SetBackColor(DWORD back, DWORD border) {
  m_backColour = back;
  m_borderColour = border;
  Invalidate();
}

void PaintManager::SetBackMode(enumBackMode mode, int margin) {
  m_backMode = mode;
  m_frameMargin = margin;
  Invalidate();
}

int PaintManager::LoadBKImage(const CString& file) {
  std::unique_ptr<Image> image = MRender::LoadImageFromFile(SkinFolder::SkinFile(file));
  if (!image) return 0;
  m_backImage = std::move(image);
  Invalidate();
  return 1;
}

int PaintManager::LoadBKImage(unsigned resId, const CString& type) {
  std::unique_ptr<Image> image = MRender::LoadImageFromIDResource(resId, type, m_appModule);
  if (!image) return 0;
  m_backImage = std::move(image);
  Invalidate();
  return 1;
}

void PaintManager::SetLayeredWindow(int layered) {
  m_layered = layered;
  if (m_window && m_window->Exists()) {
    if (layered) m_window->ModifyExStyle(0, platform::WS_EX_LAYERED);
    Invalidate();
  }
}

int PaintManager::IsLayered() const { return m_layered; }

// ---- controls ----

MControl* PaintManager::CreateControl(unsigned kind, MObject* parent, const wchar_t* className, unsigned id,
                                      CRect rect, const wchar_t* title, int visible, int enabled) {
  MControl* control = ControlFactory::Create(ControlFactory::Host::PaintManager, parent, className, id, rect, title,
                                             visible, enabled);
  if (!control) return nullptr;
  control->SetManager(this);
  control->InitControl(this);
  if (kind == 0 || kind == 1) AddControl(control, static_cast<int>(kind));
  return control;
}

MControl* PaintManager::CreateArea(MObject* parent, const wchar_t* className, unsigned id, CRect rect,
                                   const wchar_t* title, int visible, int enabled) {
  return CreateControl(0, parent, className, id, rect, title, visible, enabled);
}

MControl* PaintManager::CreateControl(MObject* parent, const wchar_t* className, unsigned id, CRect rect,
                                      const wchar_t* title, int visible, int enabled) {
  return CreateControl(1, parent, className, id, rect, title, visible, enabled);
}

void PaintManager::AddControl(MControl* control, int kind) {
  if (!control) return;
  if (kind == 0) {
    std::scoped_lock lock(m_areaLock);
    m_areas.push_back(control);
  } else {
    std::scoped_lock lock(m_controlLock);
    m_controls.push_back(control);
  }
}

MControl* PaintManager::GetControl(unsigned id) {
  std::scoped_lock lock(m_controlLock, m_areaLock);
  for (MControl* control : m_controls) {
    if (control->GetControlID() == id) return control;
    if (MControl* found = control->GetControl(id)) return found;
  }
  for (MControl* area : m_areas) {
    if (area->GetControlID() == id) return area;
    if (MControl* found = area->GetControl(id)) return found;
  }
  return nullptr;
}

bool PaintManager::HasControl(const MControl* control) const {
  if (!control) return false;
  std::scoped_lock lock(m_controlLock, m_areaLock);
  for (const MControl* c : m_controls) {
    if (c->Contains(control)) return true;
  }
  for (const MControl* c : m_areas) {
    if (c->Contains(control)) return true;
  }
  return false;
}

int PaintManager::RemoveControl(MControl* control) {
  if (!control) return 0;
  bool found = false;
  {
    std::scoped_lock lock(m_controlLock, m_areaLock);
    for (auto* list : {&m_controls, &m_areas}) {
      auto it = std::find(list->begin(), list->end(), control);
      if (it != list->end()) {
        list->erase(it);
        found = true;
        break;
      }
    }
  }
  if (!found) return 0;
  if (m_focus == control) control->SetControlFocus(0);
  delete control;
  return 1;
}

void PaintManager::ClearAllControls() {
  ClearAreaControls();
  ClearControls();
}

void PaintManager::ClearAreaControls() { DeleteList(m_areas, m_areaLock); }
void PaintManager::ClearControls() { DeleteList(m_controls, m_controlLock); }

void PaintManager::ForgetControl(const MControl* control) {
  if (m_hover == control) m_hover = nullptr;
  if (m_focus == control) m_focus = nullptr;
  DeleteMiraTimer(const_cast<MControl*>(control));
  KillTimer(const_cast<MControl*>(control));
}

void PaintManager::SetFocusControl(MControl* control) {
  if (control == m_focus) return;
  if (m_focus) m_focus->SetControlFocus(0);
  if (control) control->SetControlFocus(1);
  m_focus = control;
}

MControl* PaintManager::FocusableWalk(bool forward) {
  std::scoped_lock lock(m_controlLock);
  const auto focusable = [](const MControl* c) { return c->IsVisible() && c->IsEnabled() && c->IsTabStop(); };
  const int n = static_cast<int>(m_controls.size());
  int start = -1;
  if (m_focus) {
    auto it = std::find(m_controls.begin(), m_controls.end(), m_focus);
    if (it == m_controls.end()) return nullptr;
    start = static_cast<int>(it - m_controls.begin());
    for (int i = start + (forward ? 1 : -1); i >= 0 && i < n; i += forward ? 1 : -1) {
      if (focusable(m_controls[i])) return m_controls[i];
    }
  }
  // Wrap around: from the start (or the end), the focus control included.
  for (int k = 0; k < n; ++k) {
    const int i = forward ? k : n - 1 - k;
    if (focusable(m_controls[i])) return m_controls[i];
  }
  return nullptr;
}

MControl* PaintManager::GetNextFocusableControl() { return FocusableWalk(true); }
MControl* PaintManager::GetPrevFocusableControl() { return FocusableWalk(false); }

void PaintManager::SetCapture() {
  if (m_window) m_window->SetCapture();
  m_captured = 1;
}

void PaintManager::ReleaseCapture() {
  if (m_window) m_window->ReleaseCapture();
  m_captured = 0;
}

int PaintManager::SetCursor(const std::wstring& name) {
  return m_window && m_window->Exists() && m_window->SetCursor(name) ? 1 : 0;
}

CRect PaintManager::GetClientRect() const {
  if (!m_window || !m_window->Exists()) return {};
  const platform::Rect r = m_window->GetClientRect();
  return {r.left, r.top, r.right, r.bottom};
}

CRect PaintManager::GetWindowRect() const {
  if (!m_window || !m_window->Exists()) return {};
  const platform::Rect r = m_window->GetWindowRect();
  return {r.left, r.top, r.right, r.bottom};
}

CSize PaintManager::GetClientSize() const { return GetClientRect().Size(); }

long PaintManager::SendMessageW(unsigned msg, unsigned wParam, long lParam) {
  return m_window ? static_cast<long>(m_window->SendMessage(msg, wParam, lParam)) : 0;
}

void PaintManager::PostMessageW(unsigned msg, unsigned wParam, long lParam) {
  if (m_window) m_window->PostMessage(msg, wParam, lParam);
}

// ---- per-control timers ----

int PaintManager::SetTimer(MControl* control, unsigned key, unsigned elapseMs) {
  if (!m_window || !m_window->Exists()) return 0;
  std::scoped_lock lock(m_timerLock);
  for (ControlTimer& t : m_timers) {
    if (t.control == control && t.key == key) {
      if (!t.killed) return 0;
      if (!m_window->SetTimer(t.number, elapseMs)) return 0;
      t.killed = false;
      return 1;
    }
  }
  const unsigned number = (m_lastTimerNumber + 1) % kTimerNumbers;
  if (!m_window->SetTimer(number, elapseMs)) return 0;
  m_lastTimerNumber = number;
  m_timers.push_back({key, number, false, control});
  return 1;
}

int PaintManager::KillTimer(MControl* control, unsigned key) {
  std::scoped_lock lock(m_timerLock);
  for (ControlTimer& t : m_timers) {
    if (t.control == control && t.key == key) {
      if (!t.killed && m_window) m_window->KillTimer(t.number);
      t.killed = true;
      return 1;
    }
  }
  return 0;
}

int PaintManager::KillTimer(MControl* control) {
  std::scoped_lock lock(m_timerLock);
  int found = 0;
  std::erase_if(m_timers, [&](const ControlTimer& t) {
    if (t.control != control) return false;
    if (!t.killed && m_window) StopNativeTimer(t.number);
    found = 1;
    return true;
  });
  return found;
}

void PaintManager::ClearTimers() {
  std::scoped_lock lock(m_timerLock);
  for (const ControlTimer& t : m_timers) {
    if (!t.killed && m_window) StopNativeTimer(t.number);
  }
  m_timers.clear();
}

void PaintManager::StopNativeTimer(unsigned number) {
  // Numbers wrap at 240, so a number may serve more than one record: the
  // native timer stays while another running record still uses it.
  int users = 0;
  for (const ControlTimer& t : m_timers) users += !t.killed && t.number == number;
  if (users <= 1 && m_window->Exists()) m_window->KillTimer(number);
}

unsigned PaintManager::GetTimerNumber(const MControl* control, unsigned key) const {
  std::scoped_lock lock(m_timerLock);
  for (const ControlTimer& t : m_timers) {
    if (t.control == control && t.key == key) return t.number;
  }
  return 0;
}

void PaintManager::OnTimer(unsigned number) {
  std::vector<MControl*> due;
  {
    std::scoped_lock lock(m_timerLock);
    for (const ControlTimer& t : m_timers) {
      if (!t.killed && t.number == number) due.push_back(t.control);
    }
  }
  for (MControl* control : due) {
    // A tick's handler may remove other controls; skip those that went.
    std::scoped_lock lock(m_timerLock);
    const bool alive = std::any_of(m_timers.begin(), m_timers.end(),
                                   [&](const ControlTimer& t) { return t.control == control && !t.killed; });
    if (alive) control->OnTimer();
  }
}

// ---- the periodic timer ----

unsigned PaintManager::SetMTimer(unsigned periodMs) {
  KillMTimer();
  m_periodicId = PlumeTimer::SetTimer(periodMs, L"", 0);
  return m_periodicId;
}

void PaintManager::KillMTimer() {
  const unsigned id = m_periodicId.exchange(0);
  if (id) PlumeTimer::KillTimer(id);
}

void PaintManager::AddMTimer(MControl* control) {
  if (!control) return;
  std::scoped_lock lock(m_periodicLock);
  if (std::find(m_periodic.begin(), m_periodic.end(), control) == m_periodic.end()) m_periodic.push_back(control);
}

void PaintManager::DeleteMiraTimer(MControl* control) {
  std::scoped_lock lock(m_periodicLock);
  std::erase(m_periodic, control);
}

void PaintManager::OnMTimer(unsigned id) {
  if (id != m_periodicId) return;
  std::scoped_lock lock(m_periodicLock);
  for (MControl* control : m_periodic) {
    if (control->IsRunTimer() && control->IsVisible() && control->IsParentVisible()) control->OnTimer();
  }
}

// ---- tooltip and balloon tip ----

void PaintManager::SetTooltip(const wchar_t* text, CRect rect) {
  if (!text || !*text) {
    if (m_tooltip) m_tooltip->Hide();
    return;
  }
  if (!m_window || !m_window->Exists()) return;
  if (!m_tooltip) m_tooltip = std::make_unique<ToolTipWindow>(m_window);
  m_tooltip->Show(text, rect);
}

void PaintManager::ClearTooltip() {
  if (m_tooltip) m_tooltip->Hide();
  m_tooltipOwner = 0;
}

int PaintManager::SetAirBladderMsg(const wchar_t* text, CPoint screenPoint, AIRBLADDER_TYPE type,
                                   AIRBLADDER_MODE mode) {
  if (!m_window || !m_window->Exists()) return 0;
  if (!m_airBladder) {
    auto bladder = std::make_unique<MAirBladder>(m_window, this);
    if (!bladder->Create()) return 0;
    m_airBladder = std::move(bladder);
  }
  m_airBladder->SetMessage(text ? text : L"", screenPoint, type, mode);
  return 1;
}

void PaintManager::ShowAirBladder(int show, int ownerId) {
  if (!m_airBladder) return;
  if (show) {
    m_airBladderOwner = ownerId;
    m_airBladder->Show(true);
    return;
  }
  if (ownerId != 0 && ownerId != m_airBladderOwner) return;
  m_airBladder->Show(false);
}

// ---- image registry ----

namespace {

// The record of a freshly loaded picture cut into `states` equal slices; the
// first request fixes the state count for everyone who asks later.
std::unique_ptr<ImgResInfo> SlicedImage(std::unique_ptr<Image> image, int states) {
  auto info = std::make_unique<ImgResInfo>();
  info->states = std::max(1, states);
  info->sliceWidth = image->GetWidth() / info->states;
  info->height = image->GetHeight();
  info->image = std::move(image);
  return info;
}

}  // namespace

ImgResInfo* PaintManager::AddImgResInfo(const wchar_t* file, int states) {
  if (!file || !*file) return nullptr;
  std::scoped_lock lock(m_imageLock);
  auto found = m_fileImages.find(file);
  if (found != m_fileImages.end()) return found->second.get();
  std::unique_ptr<Image> image = MRender::LoadImageFromFile(SkinFolder::SkinFile(file));
  if (!image) return nullptr;
  auto info = SlicedImage(std::move(image), states);
  info->fileName = file;
  ImgResInfo* result = info.get();
  m_fileImages.emplace(file, std::move(info));
  return result;
}

ImgResInfo* PaintManager::AddImgResInfo(unsigned resId, const CString& resType, int states, int fromApplication) {
  std::scoped_lock lock(m_imageLock);
  auto& map = fromApplication ? m_appImages : m_toolkitImages;
  auto found = map.find(resId);
  if (found != map.end()) return found->second.get();
  HINSTANCE module = fromApplication ? m_appModule : &ResourceModule::Toolkit();
  std::unique_ptr<Image> image = MRender::LoadImageFromIDResource(resId, resType, module);
  if (!image) return nullptr;
  auto info = SlicedImage(std::move(image), states);
  info->resourceId = resId;
  ImgResInfo* result = info.get();
  map.emplace(resId, std::move(info));
  return result;
}

void PaintManager::ClearImgResInfo() {
  std::scoped_lock lock(m_imageLock);
  m_fileImages.clear();
  m_appImages.clear();
  m_toolkitImages.clear();
}

// ---- font registry ----

bool PaintManager::AddTempFont(const wchar_t* family, const wchar_t* file) {
  if (!family || !file) return false;
  std::scoped_lock lock(m_fontLock);
  if (m_fonts.count(family)) return true;
  if (!FontRegistry::AddFontFile(family, platform::ToUtf8(file)) && !FontRegistry::IsRegistered(family)) {
    return false;
  }
  m_fonts.emplace(family, FontRegistry::Resolve(family));
  return true;
}

bool PaintManager::AddTempFont(const wchar_t* family, unsigned resId) {
  if (!family) return false;
  std::scoped_lock lock(m_fontLock);
  if (m_fonts.count(family)) return true;
  if (!FontRegistry::AddFontResource(family, resId) && !FontRegistry::IsRegistered(family)) return false;
  m_fonts.emplace(family, FontRegistry::Resolve(family));
  return true;
}

bool PaintManager::AddGDITempFont(unsigned resId) {
  if (resId == FontRegistry::kEmbeddedFontResource) return FontRegistry::EnsureEmbeddedFont();
  return FontRegistry::AddFontResource(L"resource-" + std::to_wstring(resId), resId);
}

std::wstring PaintManager::FindTempFont(const wchar_t* family) {
  const std::wstring name = family ? family : L"";
  std::scoped_lock lock(m_fontLock);
  auto found = m_fonts.find(name);
  if (found != m_fonts.end()) return name;
  if (!name.empty() && (FontRegistry::IsRegistered(name) || FontRegistry::IsInstalled(name))) {
    m_fonts.emplace(name, FontRegistry::Resolve(name));
    return name;
  }
  // Neither registered nor installed: the embedded font, so that text is
  // never drawn in nothing.
  FontRegistry::EnsureEmbeddedFont();
  return FontRegistry::kEmbeddedFontFamily;
}

void PaintManager::ClearTempFont() {
  std::scoped_lock lock(m_fontLock);
  m_fonts.clear();
}
