#pragma once
// A private home for one test: HOME, XDG_CONFIG_HOME, XDG_DATA_HOME and
// XDG_RUNTIME_DIR inside a temporary folder, the locale cleared and the
// device name back to the built-in one afterwards.
#include <gtest/gtest.h>

#include "app/AppContext.h"
#include "tests/platform/TempFolder.h"
#include "toolkit/core/Manager.h"

class AppFixture : public ::testing::Test {
 protected:
  AppFixture() { std::filesystem::create_directories(m_temp.Path("run")); }
  ~AppFixture() override {
    Manager::SetDeviceName(L"Kestrel");
    LanguageId = 1033;
  }

  TempFolder m_temp;
  ScopedEnv m_home{"HOME", m_temp.Path("home")};
  ScopedEnv m_config{"XDG_CONFIG_HOME", m_temp.Path("config")};
  ScopedEnv m_data{"XDG_DATA_HOME", m_temp.Path("data")};
  ScopedEnv m_runtime{"XDG_RUNTIME_DIR", m_temp.Path("run")};
  ScopedEnv m_all{"LC_ALL", std::nullopt};
  ScopedEnv m_messages{"LC_MESSAGES", std::nullopt};
  ScopedEnv m_lang{"LANG", std::nullopt};
};
