#include "toolkit/core/Manager.h"

Manager::InstanceHandle Manager::m_hInstance = nullptr;
std::wstring Manager::m_dev_name = L"Kestrel";
std::wstring Manager::m_fontname = L"SourceHanSansCN-Regular";
int Manager::m_fontwidth = 14;
uint32_t Manager::m_select_color = 0xFF10A8FD;

void Manager::SetInstance(InstanceHandle instance) { m_hInstance = instance; }
Manager::InstanceHandle Manager::GetInstance() { return m_hInstance; }

void Manager::SetDeviceName(const std::wstring& name) { m_dev_name = name; }
std::wstring Manager::GetDeviceName() { return m_dev_name; }

std::wstring Manager::GetTheme() { return L"theme1/"; }

uint32_t Manager::GetSelectColor() { return m_select_color; }

void Manager::SetFont(const std::wstring& name, int size) {
  m_fontname = name;
  m_fontwidth = size;
}
void Manager::SetFontName(const std::wstring& name) { m_fontname = name; }
std::wstring Manager::GetFontName() { return m_fontname; }
int Manager::GetFontWidth() { return m_fontwidth; }
