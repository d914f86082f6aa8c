#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "config/ControlState_win.h"
#include "config/IniStore.h"
#include "support/TempDir.h"
#include "util/FileIo.h"
#include "util/ScopedWin_win.h"
#include "util/WideText_win.h"

namespace tvk {
namespace {

const wchar_t kFormClass[] = L"TvkControlStateTestForm";

void RegisterClassesOnce() {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSW form = {};
    form.lpfnWndProc = DefWindowProcW;
    form.hInstance = GetModuleHandleW(nullptr);
    form.lpszClassName = kFormClass;
    // The toolkit's colour picker class may be registered already; a stand-in
    // that only keeps the colour serves otherwise.
    WNDCLASSW picker = form;
    picker.lpszClassName = kColourPickerClass;
    picker.cbWndExtra = kColourPickerExtraBytes;
    WNDCLASSW existing = {};
    bool pickerClass = GetClassInfoW(GetModuleHandleW(nullptr), kColourPickerClass, &existing)
                           ? existing.cbWndExtra >= kColourPickerExtraBytes
                           : RegisterClassW(&picker) != 0;
    return RegisterClassW(&form) != 0 && pickerClass;
  }();
  ASSERT_TRUE(registered);
}

// Lets pending messages run until `done` holds or ten seconds pass; returns `done()`.
bool PollUntil(const std::function<bool()>& done) {
  const ULONGLONG end = GetTickCount64() + 10000;
  while (!done() && GetTickCount64() < end) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return done();
}

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return SendMessageW(window, message, wParam, lParam);
}

// --- reading and setting controls straight through their messages ----------------------

std::string TextOf(HWND window) {
  wchar_t buffer[1024] = {};
  GetWindowTextW(window, buffer, 1024);
  return Narrow(buffer);
}

void SetText(HWND window, const std::string& text) { SetWindowTextW(window, Widen(text).c_str()); }

std::string Joined(const std::vector<std::string>& items) {
  std::string joined;
  for (size_t i = 0; i < items.size(); ++i) joined += (i ? "|" : "") + items[i];
  return joined;
}

std::string ListBoxState(HWND box) {
  std::vector<std::string> items;
  for (LRESULT i = 0, n = Send(box, LB_GETCOUNT); i < n; ++i) {
    wchar_t buffer[256] = {};
    Send(box, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buffer));
    items.push_back(Narrow(buffer));
  }
  return Joined(items) + " 选中" + std::to_string(Send(box, LB_GETCURSEL));
}

void FillListBox(HWND box, const std::vector<std::string>& items, int selection) {
  Send(box, LB_RESETCONTENT);
  for (const std::string& item : items) Send(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
  Send(box, LB_SETCURSEL, static_cast<WPARAM>(selection));
}

std::string ComboState(HWND combo) {
  std::vector<std::string> items;
  for (LRESULT i = 0, n = Send(combo, CB_GETCOUNT); i < n; ++i) {
    wchar_t buffer[256] = {};
    Send(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer));
    items.push_back(Narrow(buffer));
  }
  return Joined(items) + " 文本" + TextOf(combo);
}

void FillCombo(HWND combo, const std::vector<std::string>& items, int selection) {
  Send(combo, CB_RESETCONTENT);
  for (const std::string& item : items) Send(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
  Send(combo, CB_SETCURSEL, static_cast<WPARAM>(selection));
}

std::string CheckListState(HWND list) {
  std::vector<std::string> items;
  std::string ticks;
  for (int i = 0, n = static_cast<int>(Send(list, LVM_GETITEMCOUNT)); i < n; ++i) {
    wchar_t buffer[256] = {};
    ListView_GetItemText(list, i, 0, buffer, 256);
    items.push_back(Narrow(buffer));
    if (ListView_GetCheckState(list, i)) ticks += std::to_string(i) + ",";
  }
  return Joined(items) + " 打勾" + ticks + " 选中" + std::to_string(ListView_GetNextItem(list, -1, LVNI_SELECTED));
}

void FillCheckList(HWND list, const std::vector<std::string>& items, const std::vector<int>& ticked, int selection) {
  ListView_DeleteAllItems(list);
  for (size_t i = 0; i < items.size(); ++i) {
    std::wstring text = Widen(items[i]);
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(i);
    item.pszText = text.data();
    Send(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  for (int i : ticked) ListView_SetCheckState(list, i, TRUE);
  ListView_SetItemState(list, selection, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

std::string CheckState(HWND button) { return Send(button, BM_GETCHECK) == BST_CHECKED ? "选中" : "未选"; }
void Check(HWND button, bool on) { Send(button, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED); }

std::string ColourState(HWND picker) { return std::to_string(GetWindowLongW(picker, 0)); }

// --- the form under test ----------------------------------------------------------

// A hidden form to put controls on, and a store on a settings file in a fresh
// folder (side files go to its "inibin" folder).
class ControlStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterClassesOnce();
    form_ = std::make_unique<ScopedWindow>(CreateWindowExW(0, kFormClass, L"窗体", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480,
                                                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    ASSERT_NE(form_->get(), nullptr);
    ASSERT_TRUE(store_.OpenAs(dir_.File("设置.ini"), IniStore::Storage::File));
  }

 public:
  HWND Add(const wchar_t* windowClass, DWORD style, DWORD extendedStyle = 0) {
    HWND control =
        CreateWindowExW(extendedStyle, windowClass, L"", WS_CHILD | WS_VISIBLE | style, 10, 10 + 30 * count_++, 200,
                        100, form_->get(), nullptr, GetModuleHandleW(nullptr), nullptr);
    EXPECT_NE(control, nullptr);
    return control;
  }
  HWND AddCheckList() {
    HWND list = Add(WC_LISTVIEWW, LVS_LIST | LVS_SINGLESEL | LVS_SHOWSELALWAYS);
    ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES);
    return list;
  }

 protected:
  std::string SideFile(const std::string& section, const std::string& key) const {
    return ReadFileBytes(dir_.File("inibin\\" + section + "-" + key + ".ibn"));
  }

  test::TempDir dir_;
  IniStore store_;
  std::unique_ptr<ScopedWindow> form_;
  int count_ = 0;
};

// One control of each kind: a state to save, another one to put in its place
// before restoring, and what the test sees of the control.
struct KindCase {
  const char* name;
  const char* tag;
  std::function<HWND(ControlStateTest&)> create;
  std::function<void(PersistedControl&)> setSaved;
  std::function<void(PersistedControl&)> setOther;
  std::function<std::string(const PersistedControl&)> observe;
};

class ControlStateKinds : public ControlStateTest {
 protected:
  static std::vector<KindCase> Cases() {
    auto button = [](DWORD style) { return [style](ControlStateTest& t) { return t.Add(L"BUTTON", style); }; };
    auto text = [](std::string value) { return [value](PersistedControl& c) { SetText(c.window, value); }; };
    auto textOf = [](const PersistedControl& c) { return TextOf(c.window); };
    auto checkState = [](const PersistedControl& c) { return CheckState(c.window); };
    return {
        {"选择框记住密码", "", button(BS_AUTOCHECKBOX), [](PersistedControl& c) { Check(c.window, true); },
         [](PersistedControl& c) { Check(c.window, false); }, checkState},
        {"单选框甲", "", button(BS_AUTORADIOBUTTON | WS_GROUP), [](PersistedControl& c) { Check(c.window, false); },
         [](PersistedControl& c) { Check(c.window, true); }, checkState},
        {"单选框乙", "", button(BS_AUTORADIOBUTTON), [](PersistedControl& c) { Check(c.window, true); },
         [](PersistedControl& c) { Check(c.window, false); }, checkState},
        {"编辑框搜索", "", [](ControlStateTest& t) { return t.Add(L"EDIT", ES_MULTILINE | ES_AUTOVSCROLL); },
         text("第一行\r\n第二行·软件"), text("别的"), textOf},
        {"编辑框备注", "字节集方式", [](ControlStateTest& t) { return t.Add(L"EDIT", ES_MULTILINE); },
         text("字节\r\n内容"), text("x"), textOf},
        {"组合框来源", "", [](ControlStateTest& t) { return t.Add(L"COMBOBOX", CBS_DROPDOWNLIST); },
         [](PersistedControl& c) {
           FillCombo(c.window, {"甲", "乙", "丙"}, 2);
         },
         [](PersistedControl& c) { Send(c.window, CB_SETCURSEL, 0); },
         [](const PersistedControl& c) { return ComboState(c.window); }},
        {"列表框历史", "", [](ControlStateTest& t) { return t.Add(L"LISTBOX", LBS_NOTIFY); },
         [](PersistedControl& c) {
           FillListBox(c.window, {"一", "二", "三"}, 1);
         },
         [](PersistedControl& c) { FillListBox(c.window, {"四"}, 0); },
         [](const PersistedControl& c) { return ListBoxState(c.window); }},
        {"选择列表框分类", "", [](ControlStateTest& t) { return t.AddCheckList(); },
         [](PersistedControl& c) {
           FillCheckList(c.window, {"游戏", "工具", "网络"}, {0, 2}, 1);
         },
         [](PersistedControl& c) {
           FillCheckList(c.window, {"别的", "还有"}, {1}, 0);
         },
         [](const PersistedControl& c) { return CheckListState(c.window); }},
        {"颜色选择器背景", "", [](ControlStateTest& t) { return t.Add(kColourPickerClass, 0); },
         [](PersistedControl& c) { SetWindowLongW(c.window, 0, RGB(12, 34, 56)); },
         [](PersistedControl& c) { SetWindowLongW(c.window, 0, RGB(255, 0, 0)); },
         [](const PersistedControl& c) { return ColourState(c.window); }},
        {"按钮下载", "第3行", button(BS_PUSHBUTTON), [](PersistedControl& c) { c.tag = "第3行"; },
         [](PersistedControl& c) { c.tag = "第7行"; }, [](const PersistedControl& c) { return c.tag; }},
    };
  }

  // Creates every case's control and puts it in its saved state.
  std::vector<PersistedControl> MakeForm(const std::vector<KindCase>& cases) {
    std::vector<PersistedControl> controls;
    for (const KindCase& k : cases) {
      controls.push_back({k.name, k.tag, k.create(*this)});
      k.setSaved(controls.back());
    }
    return controls;
  }
};

TEST_F(ControlStateKinds, EveryKindComesBackAfterSaveChangeAndRestore) {
  const std::vector<KindCase> cases = Cases();
  std::vector<PersistedControl> controls = MakeForm(cases);
  std::vector<std::string> saved;
  for (size_t i = 0; i < cases.size(); ++i) saved.push_back(cases[i].observe(controls[i]));

  PersistControls(store_, controls, false, "主窗口");
  for (size_t i = 0; i < cases.size(); ++i) {
    cases[i].setOther(controls[i]);
    ASSERT_NE(cases[i].observe(controls[i]), saved[i]) << cases[i].name << ": the other state must differ";
  }
  store_.SelectSection("别处");  // the restore selects the section again
  PersistControls(store_, controls, true, "主窗口");

  for (size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(cases[i].observe(controls[i]), saved[i]) << cases[i].name;
}

TEST_F(ControlStateKinds, SavedKeysAndSideFilesFollowTheDocumentedLayout) {
  const std::vector<KindCase> cases = Cases();
  std::vector<PersistedControl> controls = MakeForm(cases);
  PersistControls(store_, controls, false, "主窗口");

  const struct {
    const char* key;
    const char* value;
  } keys[] = {
      {"选择框记住密码", "真"},
      {"单选框甲", "假"},
      {"单选框乙", "真"},
      {"编辑框搜索", "第一行┊*┊第二行·软件"},
      {"组合框来源", "2"},
      {"列表框历史.选中", "1"},
      {"选择列表框分类.选中", "1"},
      {"选择列表框分类.打勾", "0,2"},
      {"颜色选择器背景", "3678732"},  // RGB(12, 34, 56)
      {"按钮下载.标记", "第3行"},
  };
  for (const auto& k : keys) EXPECT_EQ(store_.ReadValue("主窗口", k.key, "(无)"), k.value) << k.key;

  // The byte-mode edit box keeps its text only in its side file.
  EXPECT_EQ(store_.ReadValue("主窗口", "编辑框备注", "(无)"), "(无)");
  EXPECT_EQ(SideFile("主窗口", "编辑框备注"), "字节\r\n内容");
  EXPECT_EQ(SideFile("主窗口", "列表框历史"), "3\r\n一\r\n二\r\n三\r\n");
  EXPECT_EQ(SideFile("主窗口", "选择列表框分类"), "3\r\n游戏\r\n工具\r\n网络\r\n");
  // Combo items only when asked for.
  EXPECT_EQ(SideFile("主窗口", "组合框来源.列表"), "");
}

TEST_F(ControlStateTest, ComboFlagsAddItemsAndContentToTheSelection) {
  const struct {
    bool list, content;
    const char* restored;
  } cases[] = {
      {false, false, "丁|戊|己|庚 文本戊"},
      {true, false, "甲|乙|丙 文本乙"},
      {false, true, "丁|戊|己|庚 文本自己输入的"},
      {true, true, "甲|乙|丙 文本自己输入的"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "list " << c.list << ", content " << c.content);
    const std::string section = "组合" + std::to_string(&c - cases);
    std::vector<PersistedControl> controls = {{"组合框网址", "", Add(L"COMBOBOX", CBS_DROPDOWN)}};
    HWND combo = controls[0].window;
    FillCombo(combo, {"甲", "乙", "丙"}, 1);
    SetText(combo, "自己输入的");
    ASSERT_EQ(Send(combo, CB_GETCURSEL), 1) << "typed text is expected to keep the selected item";
    PersistControls(store_, controls, false, section, {}, c.list, c.content);

    FillCombo(combo, {"丁", "戊", "己", "庚"}, 3);
    PersistControls(store_, controls, true, section, {}, c.list, c.content);
    EXPECT_EQ(ComboState(combo), c.restored);
    DestroyWindow(combo);
  }
}

TEST_F(ControlStateTest, NoSaveTagExcludedNamesAndOtherNamesAreLeftAlone) {
  // Every one of these is an edit box: only its name and tag keep it out.
  const struct {
    const char* name;
    const char* tag;
  } cases[] = {
      {"编辑框甲", "禁止保存"},
      {"编辑框乙", ""},    // excluded by name
      {"标签说明", ""},    // no kind of ours
      {"我的编辑框", ""},  // the kind's word is not at the start
      {"编辑", ""},        // a shorter word
  };
  std::vector<PersistedControl> controls;
  for (const auto& c : cases) controls.push_back({c.name, c.tag, Add(L"EDIT", 0)});
  controls.push_back({"编辑框丙", "", Add(L"EDIT", 0)});  // saved, as a check that saving happens at all
  const std::vector<std::string> excluded = {"编辑框乙", "编辑框丁"};

  for (const PersistedControl& c : controls) SetText(c.window, "保存时");
  PersistControls(store_, controls, false, "窗体", excluded);
  for (const PersistedControl& c : controls) SetText(c.window, "恢复前");
  PersistControls(store_, controls, true, "窗体", excluded);

  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(TextOf(controls[i].window), "恢复前") << cases[i].name;
    EXPECT_EQ(store_.ReadValue("窗体", cases[i].name, "(无)"), "(无)") << cases[i].name;
  }
  EXPECT_EQ(TextOf(controls.back().window), "保存时");
}

TEST(ControlStateNames, KindComesFromTheStartOfTheName) {
  const struct {
    const char* name;
    ControlKind kind;
  } cases[] = {
      {"按钮下载", ControlKind::Button},
      {"编辑框搜索", ControlKind::Edit},
      {"选择框记住", ControlKind::CheckBox},
      {"单选框1", ControlKind::RadioButton},
      {"组合框", ControlKind::ComboBox},
      {"列表框历史", ControlKind::ListBox},
      {"选择列表框分类", ControlKind::CheckList},
      {"颜色选择器背景", ControlKind::ColourPicker},
      {"选择列表", ControlKind::Other},
      {"我的按钮", ControlKind::Other},
      {"图片框容器", ControlKind::Other},
      {"按", ControlKind::Other},
      {"", ControlKind::Other},
  };
  for (const auto& c : cases) EXPECT_EQ(KindOfControlName(c.name), c.kind) << c.name;
}

TEST_F(ControlStateTest, SectionIsSelectedWhenGivenAndTheCurrentOneServesOtherwise) {
  std::vector<PersistedControl> controls = {{"编辑框搜索", "", Add(L"EDIT", 0)}};
  HWND edit = controls[0].window;

  SetText(edit, "甲窗口的");
  PersistControls(store_, controls, false, "窗口甲");
  store_.SelectSection("当前节");
  SetText(edit, "当前节的");
  PersistControls(store_, controls, false);
  EXPECT_EQ(store_.ReadValue("窗口甲", "编辑框搜索"), "甲窗口的");
  EXPECT_EQ(store_.ReadValue("当前节", "编辑框搜索"), "当前节的");

  SetText(edit, "改过");
  PersistControls(store_, controls, true, "窗口乙");  // nothing stored there
  EXPECT_EQ(TextOf(edit), "改过");
  PersistControls(store_, controls, true, "窗口甲");
  EXPECT_EQ(TextOf(edit), "甲窗口的");
  EXPECT_EQ(store_.CurrentSection(), "窗口甲");
}

TEST_F(ControlStateTest, ItemListsKeepEmptyItemsLineBreaksAndEmptyLists) {
  HWND box = Add(L"LISTBOX", 0);
  PersistedControl control = {"列表框记录", "", box};
  store_.SelectSection("列表");

  Send(box, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"甲"));
  Send(box, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L""));
  Send(box, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"乙\r\n丙"));
  Send(box, LB_SETCURSEL, 2);
  const std::string original = ListBoxState(box);
  ASSERT_TRUE(SaveListBox(store_, control));
  EXPECT_EQ(SideFile("列表", "列表框记录"), "3\r\n甲\r\n\r\n乙┊*┊丙\r\n");
  FillListBox(box, {"别的"}, 0);
  ASSERT_TRUE(RestoreListBox(store_, control));
  EXPECT_EQ(ListBoxState(box), original);

  // A saved empty list empties the box.
  FillListBox(box, {}, -1);
  ASSERT_TRUE(SaveListBox(store_, control));
  FillListBox(box, {"别的"}, 0);
  ASSERT_TRUE(RestoreListBox(store_, control));
  EXPECT_EQ(ListBoxState(box), " 选中-1");

  // With no side file the box keeps its items.
  FillListBox(box, {"别的"}, 0);
  PersistedControl unsaved = {"列表框从未保存", "", box};
  EXPECT_FALSE(RestoreListBox(store_, unsaved));
  EXPECT_EQ(ListBoxState(box), "别的 选中0");
}

TEST(ControlStateItemLists, EncodingRoundTripsAndMalformedBytesAreRefused) {
  const std::vector<std::vector<std::string>> lists = {
      {}, {""}, {"", ""}, {"甲"}, {"甲", "乙\r\n丙", "\r", "\n", "a\r"}, {std::string(300, 'x')},
  };
  for (const auto& list : lists) {
    std::vector<std::string> decoded = {"旧的"};
    EXPECT_TRUE(DecodeItemList(EncodeItemList(list), decoded)) << EncodeItemList(list);
    EXPECT_EQ(decoded, list);
  }

  const char* malformed[] = {"",           "1",      "\r\n",        "x\r\n",     "-1\r\n",      "1\r\n",
                             "2\r\na\r\n", "1\r\na", "1\r\na\r\nb", "0\r\n\r\n", "1 \r\na\r\n", "99999999999\r\n"};
  for (const char* bytes : malformed) {
    std::vector<std::string> decoded = {"旧的"};
    EXPECT_FALSE(DecodeItemList(bytes, decoded)) << bytes;
    EXPECT_TRUE(decoded.empty()) << bytes;
  }
}

TEST_F(ControlStateTest, ButtonTagInBytesModeGoesToItsSideFile) {
  store_.SelectSection("按钮");
  EXPECT_TRUE(SaveButtonTag(store_, "按钮甲", "字节集方式"));
  EXPECT_TRUE(SaveButtonTag(store_, "按钮乙", "第2行"));
  EXPECT_EQ(SideFile("按钮", "按钮甲.标记"), "字节集方式");
  EXPECT_EQ(store_.ReadValue("按钮", "按钮甲.标记", "(无)"), "(无)");
  EXPECT_EQ(store_.ReadValue("按钮", "按钮乙.标记"), "第2行");

  std::string tag = "第9行";
  RestoreButtonTag(store_, "按钮乙", tag);
  EXPECT_EQ(tag, "第2行");
  tag = "第9行";
  RestoreButtonTag(store_, "按钮丙", tag);  // nothing stored
  EXPECT_EQ(tag, "第9行");
}

TEST_F(ControlStateTest, ControlBooleanAndColourPickerValues) {
  store_.SelectSection("杂项");
  EXPECT_TRUE(SaveControlBool(store_, "图片框标志", true));
  EXPECT_TRUE(RestoreControlBool(store_, "图片框标志", false));
  EXPECT_FALSE(RestoreControlBool(store_, "图片框无值", false));
  EXPECT_TRUE(RestoreControlBool(store_, "图片框无值", true));

  HWND picker = Add(kColourPickerClass, 0);
  COLORREF colour = 1;
  EXPECT_TRUE(SetColourPickerColour(picker, RGB(1, 2, 3)));
  EXPECT_TRUE(ColourPickerColour(picker, colour));
  EXPECT_EQ(colour, RGB(1, 2, 3));
  // Another class is no colour picker, though EDIT has extra bytes (its own data).
  HWND edit = Add(L"EDIT", 0);
  EXPECT_FALSE(SetColourPickerColour(edit, RGB(1, 2, 3)));
  EXPECT_FALSE(SaveColourPicker(store_, {"颜色选择器假的", "", edit}));
  EXPECT_EQ(store_.ReadValue("杂项", "颜色选择器假的", "(无)"), "(无)");
  // Nor is a destroyed one.
  DestroyWindow(picker);
  EXPECT_FALSE(SaveColourPicker(store_, {"颜色选择器", "", picker}));
  EXPECT_FALSE(RestoreEditBox(store_, {"编辑框", "", picker}));
}

// --- window placement -----------------------------------------------------------------

RECT NormalRect(HWND window) {
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof placement;
  GetWindowPlacement(window, &placement);
  return placement.rcNormalPosition;
}

std::string RectText(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

class WindowPlacementTest : public ControlStateTest {
 protected:
  HWND MakeTopLevel() {
    windows_.push_back(
        std::make_unique<ScopedWindow>(CreateWindowExW(0, kFormClass, L"位置", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                                       nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)));
    return windows_.back()->get();
  }
  // Shows the window in the state and waits until it is in it.
  static bool Reach(HWND window, int state) {
    const int command[] = {SW_SHOWNORMAL, SW_SHOWNORMAL, SW_MINIMIZE, SW_MAXIMIZE};
    if (PlacementStateOf(window) != state) ShowWindow(window, command[state]);
    return PollUntil([&] { return PlacementStateOf(window) == state; });
  }

  std::vector<std::unique_ptr<ScopedWindow>> windows_;
};

TEST_F(WindowPlacementTest, StateAndRectangleRoundTrip) {
  const struct {
    int state;    // saved
    int changed;  // the state the window is in when it is restored
    const char* section;
    const char* storedSection;
  } cases[] = {
      {kPlacementNormal, kPlacementMaximised, "", "主界面.尺寸"},
      {kPlacementNormal, kPlacementNormal, "设置窗口", "设置窗口.尺寸"},
      {kPlacementMaximised, kPlacementNormal, "最大", "最大.尺寸"},
      {kPlacementMinimised, kPlacementNormal, "最小", "最小.尺寸"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "state " << c.state << " section " << c.storedSection);
    HWND window = MakeTopLevel();
    MoveWindow(window, 101, 112, 333, 244, TRUE);
    ShowWindow(window, SW_SHOWNORMAL);
    ASSERT_TRUE(Reach(window, kPlacementNormal));
    ASSERT_TRUE(PollUntil([&] { return RectText(NormalRect(window)) == "101,112,434,356"; }))
        << RectText(NormalRect(window));
    ASSERT_TRUE(Reach(window, c.state));
    const RECT saved = NormalRect(window);

    ASSERT_TRUE(SaveWindowPlacement(store_, window, c.section));
    EXPECT_EQ(store_.CurrentSection(), c.storedSection);
    EXPECT_EQ(store_.ReadValue(c.storedSection, "位置"), std::to_string(c.state));
    const bool normal = c.state == kPlacementNormal;
    EXPECT_EQ(store_.ReadValue(c.storedSection, "左边", "(无)"), normal ? "101" : "(无)");
    EXPECT_EQ(store_.ReadValue(c.storedSection, "顶边", "(无)"), normal ? "112" : "(无)");
    EXPECT_EQ(store_.ReadValue(c.storedSection, "宽度", "(无)"), normal ? "333" : "(无)");
    EXPECT_EQ(store_.ReadValue(c.storedSection, "高度", "(无)"), normal ? "244" : "(无)");

    ASSERT_TRUE(Reach(window, kPlacementNormal));
    MoveWindow(window, 20, 30, 200, 150, TRUE);
    ASSERT_TRUE(Reach(window, c.changed));
    ASSERT_TRUE(RestoreWindowPlacement(store_, window, c.section));
    EXPECT_TRUE(PollUntil([&] { return PlacementStateOf(window) == c.state; })) << PlacementStateOf(window);
    if (normal) {
      EXPECT_EQ(RectText(NormalRect(window)), RectText(saved));
    }
  }
}

TEST_F(WindowPlacementTest, ChildRectangleIsInItsParentsClientCoordinates) {
  HWND child = Add(L"STATIC", 0);
  MoveWindow(child, 15, 25, 60, 40, TRUE);
  ASSERT_TRUE(SaveWindowPlacement(store_, child, "子窗口"));
  EXPECT_EQ(store_.ReadValue("子窗口.尺寸", "左边"), "15");
  EXPECT_EQ(store_.ReadValue("子窗口.尺寸", "顶边"), "25");
  MoveWindow(child, 0, 0, 10, 10, TRUE);
  ASSERT_TRUE(RestoreWindowPlacement(store_, child, "子窗口"));
  RECT rect = {};
  GetWindowRect(child, &rect);
  MapWindowPoints(HWND_DESKTOP, form_->get(), reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(RectText(rect), "15,25,75,65");
}

TEST_F(WindowPlacementTest, MissingValuesKeepTheWindowWhereItIs) {
  HWND window = MakeTopLevel();
  MoveWindow(window, 50, 60, 300, 200, TRUE);
  store_.SelectSection("部分.尺寸");
  store_.SetNumber("宽度", 320);  // no state, no position: only the width changes
  ASSERT_TRUE(RestoreWindowPlacement(store_, window, "部分"));
  EXPECT_EQ(RectText(NormalRect(window)), "50,60,370,260");
  EXPECT_EQ(PlacementStateOf(window), kPlacementNormal);

  store_.SetNumber("位置", 7);  // no state of ours: nothing happens
  store_.SetNumber("宽度", 100);
  ASSERT_TRUE(RestoreWindowPlacement(store_, window, "部分"));
  EXPECT_EQ(RectText(NormalRect(window)), "50,60,370,260");

  EXPECT_FALSE(SaveWindowPlacement(store_, nullptr));
  EXPECT_FALSE(RestoreWindowPlacement(store_, nullptr));
}

}  // namespace
}  // namespace tvk
