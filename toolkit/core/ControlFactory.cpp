#include "toolkit/core/ControlFactory.h"

#include <cwchar>
#include <iterator>

#include "toolkit/core/CArea.h"

namespace ControlFactory {
namespace {

MControl* MakeArea(MObject* parent, unsigned id, CRect rect, const wchar_t*, int visible, int enabled) {
  return new CArea(parent, id, rect, visible, enabled);
}

// Name, top level, panel, title, enabled, maker.  The order is the order
// of the comparisons; "CArea" comes first.
constexpr ClassInfo kTable[] = {
    {L"CArea", true, true, false, true, MakeArea},
    {L"MText", true, true, true, false, nullptr},
    {L"MPicture", true, true, false, true, nullptr},
    {L"CPhotoFrame", true, true, false, true, nullptr},
    {L"CSliderPicture", true, true, false, true, nullptr},
    {L"CGifPicture", true, true, false, true, nullptr},
    {L"MProgress", true, true, false, true, nullptr},
    {L"MSlider", true, true, false, true, nullptr},
    {L"MLevelCtrl", true, true, false, true, nullptr},
    {L"MButton", true, true, true, true, nullptr},
    {L"CImageButton", true, true, true, true, nullptr},
    {L"CTextButton", true, true, true, true, nullptr},
    {L"CCheckButton", true, true, true, true, nullptr},
    {L"CRadioButton", true, true, true, true, nullptr},
    {L"CColorButton", true, true, false, true, nullptr},
    {L"MSpinButton", true, true, false, true, nullptr},
    {L"CSpinButton", true, true, false, true, nullptr},
    {L"CSwitchButton", true, true, false, true, nullptr},
    {L"CIconButton", true, true, true, true, nullptr},
    {L"CTimerButton", true, true, true, true, nullptr},
    {L"CHelpButton", true, true, true, true, nullptr},
    {L"MEdit", true, true, true, true, nullptr},
    {L"MRichEdit", true, true, true, true, nullptr},
    {L"MEditEx", true, true, true, true, nullptr},
    {L"MComboBox", true, true, false, true, nullptr},
    {L"MTabCtrl", true, true, false, true, nullptr},
    {L"MTabLayout", true, true, false, false, nullptr},
    {L"MListBox", true, true, false, false, nullptr},
    {L"MPalette", true, true, false, false, nullptr},
    {L"CColorPalette", true, true, false, false, nullptr},
    {L"CColorSelect", true, true, false, false, nullptr},
    {L"CirclePalette", true, true, false, true, nullptr},
    {L"CComboBoxList", true, false, false, true, nullptr},
    {L"MenuItem", true, true, true, true, nullptr},
    {L"KeyboardCtrl", true, true, false, false, nullptr},
    {L"KeyFuncControl", false, true, false, false, nullptr},
    {L"DListBox", false, true, false, false, nullptr},
    {L"CRecordList", false, true, false, false, nullptr},
    {L"CDeviceCtrl", true, true, false, true, nullptr},
    {L"BatteryCtrl", true, false, false, true, nullptr},
    {L"UpgradeButton", false, true, true, true, nullptr},
    {L"DownloadButton", false, true, true, true, nullptr},
};

}  // namespace

const ClassInfo* Find(const wchar_t* className) {
  if (!className || !*className) return nullptr;
  for (const ClassInfo& row : kTable) {
    if (std::wcscmp(row.name, className) == 0) return &row;
  }
  return nullptr;
}

const ClassInfo* Table(size_t& count) {
  count = std::size(kTable);
  return kTable;
}

MControl* Create(Host host, MObject* parent, const wchar_t* className, unsigned id, CRect rect,
                 const wchar_t* title, int visible, int enabled) {
  const ClassInfo* row = Find(className);
  if (!row || !row->make) return nullptr;
  if (host == Host::PaintManager ? !row->atTopLevel : !row->inPanel) return nullptr;
  // MText never becomes a pressed or wheel target.
  const int madeEnabled = row->takesEnabled ? enabled : (std::wcscmp(row->name, L"MText") == 0 ? 0 : 1);
  return row->make(parent, id, rect, row->takesTitle ? title : nullptr, visible, madeEnabled);
}

}  // namespace ControlFactory
