#include "StoreFixture.h"

#include <windows.h>

std::string Col(int value) { return std::to_string(value); }

std::string Col(const CString& text) { return Utf8Of(text.GetString()); }

void StoreTest::SetUp() {
  Store().Close();
  m_dataFolder = m_temp.Path();
  m_temp.MakeSubFolder(L"db");
}

void StoreTest::TearDown() { Store().Close(); }

void OpenStoreTest::SetUp() {
  StoreTest::SetUp();
  ASSERT_TRUE(OpenStore());
  m_raw = std::make_unique<RawDb>(DatabaseFile());
  ASSERT_TRUE(m_raw->IsOpen());
}

void OpenStoreTest::TearDown() {
  m_raw.reset();
  StoreTest::TearDown();
}
