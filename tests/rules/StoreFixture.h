#pragma once
// A real settings store in a temporary folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "store/SettingsStore.h"

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_folder = std::filesystem::temp_directory_path() /
               ("kestrel-rules-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(m_folder);
    std::filesystem::create_directories(m_folder / "db");
    ASSERT_TRUE(m_store.Open(m_folder.wstring() + L"/", L"Rules Test"));
  }
  void TearDown() override {
    m_store.Close();
    std::filesystem::remove_all(m_folder);
  }

  std::filesystem::path m_folder;
  SettingsStore m_store;
};
