#include <windows.h>

#include <gtest/gtest.h>

#include "util/Registry.h"
#include "util/WideText_win.h"

namespace tvk {
namespace {

// Each test works below its own key under HKEY_CLASSES_ROOT and deletes it.
class RegistryText : public ::testing::Test {
 protected:
  RegistryText() : root_("Tavrel软件-tvk-test-" + std::to_string(GetCurrentProcessId())) {}
  ~RegistryText() override { RegDeleteTreeW(HKEY_CLASSES_ROOT, Widen(root_).c_str()); }

  std::string Key(const std::string& below) const { return root_ + "\\" + below; }

  // Stores raw bytes of a given type, as another program might have.
  void StoreRaw(const std::string& key, const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, Widen(key).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle,
                              nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(handle, name, 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
    RegCloseKey(handle);
  }

  std::string root_;
};

TEST_F(RegistryText, WritesAndReadsBackChineseText) {
  struct Case {
    const char* valueName;
    const char* value;
  };
  const Case cases[] = {
      {"下载目录", "D:\\软件盒子\\下载"},
      {"缓存", ""},
      {"", "默认值"},  // the key's default value
      {"数字", "12"},
  };
  const std::string key = Key("settings\\基本配置");
  for (const Case& c : cases) {
    ASSERT_TRUE(RegistryWriteText(key, c.valueName, c.value)) << c.valueName;
    std::string out = "unchanged";
    ASSERT_TRUE(RegistryReadText(key, c.valueName, out)) << c.valueName;
    EXPECT_EQ(out, c.value) << c.valueName;
  }
}

TEST_F(RegistryText, StoresUtf16RegSzUnderTheNestedKey) {
  ASSERT_TRUE(RegistryWriteText(Key("settings\\基本配置"), "下载目录", "D:\\软件"));
  std::wstring path = Widen(root_) + L"\\settings\\基本配置";
  wchar_t data[64] = {};
  DWORD bytes = sizeof data;
  DWORD type = 0;
  HKEY handle = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_QUERY_VALUE, &handle), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExW(handle, L"下载目录", nullptr, &type, reinterpret_cast<BYTE*>(data), &bytes),
            ERROR_SUCCESS);
  RegCloseKey(handle);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(std::wstring(data), L"D:\\软件");
  EXPECT_EQ(bytes, (std::wstring(L"D:\\软件").size() + 1) * sizeof(wchar_t));  // with its NUL
}

TEST_F(RegistryText, OverwritesTheValue) {
  const std::string key = Key("基本配置");
  ASSERT_TRUE(RegistryWriteText(key, "名称", "很长的第一个值"));
  ASSERT_TRUE(RegistryWriteText(key, "名称", "短"));
  std::string out;
  ASSERT_TRUE(RegistryReadText(key, "名称", out));
  EXPECT_EQ(out, "短");
}

TEST_F(RegistryText, MissingKeyOrValueLeavesOutAlone) {
  const std::string key = Key("基本配置");
  ASSERT_TRUE(RegistryWriteText(key, "有", "1"));
  const std::pair<std::string, const char*> missing[] = {
      {key, "没有"},
      {Key("没有的键"), "有"},
      {Key("基本配置\\更深"), "有"},
  };
  for (const auto& [path, name] : missing) {
    std::string out = "unchanged";
    EXPECT_FALSE(RegistryReadText(path, name, out)) << name;
    EXPECT_EQ(out, "unchanged");
  }
}

TEST_F(RegistryText, ReadsStoredTextUpToItsFirstNul) {
  const std::string key = Key("raw");
  const wchar_t unterminated[] = {L'a', L'b', L'c'};
  const wchar_t embedded[] = L"ab\0cd";
  const wchar_t expand[] = L"%TEMP%\\x";
  StoreRaw(key, L"unterminated", REG_SZ, unterminated, sizeof unterminated);
  StoreRaw(key, L"embedded", REG_SZ, embedded, sizeof embedded);
  StoreRaw(key, L"expand", REG_EXPAND_SZ, expand, sizeof expand);
  struct Case {
    const char* name;
    const char* want;
  };
  const Case cases[] = {{"unterminated", "abc"}, {"embedded", "ab"}, {"expand", "%TEMP%\\x"}};
  for (const Case& c : cases) {
    std::string out;
    EXPECT_TRUE(RegistryReadText(key, c.name, out)) << c.name;
    EXPECT_EQ(out, c.want) << c.name;
  }
}

TEST_F(RegistryText, OtherValueTypesAreNotText) {
  const std::string key = Key("raw");
  const DWORD number = 12;
  const BYTE bytes[] = {'1', '2', 0, 0};
  StoreRaw(key, L"dword", REG_DWORD, &number, sizeof number);
  StoreRaw(key, L"binary", REG_BINARY, bytes, sizeof bytes);
  for (const char* name : {"dword", "binary"}) {
    std::string out = "unchanged";
    EXPECT_FALSE(RegistryReadText(key, name, out)) << name;
    EXPECT_EQ(out, "unchanged") << name;
  }
}

}  // namespace
}  // namespace tvk
