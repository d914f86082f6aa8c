#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "util/ControlKit.h"
#include "util/ScopedWin_win.h"
#include "util/WideText_win.h"

namespace tvk {
namespace {

const wchar_t kHostClass[] = L"TvkControlKitTestHost";

// Also initialises the tree-view class of the common controls.
void RegisterHostClassOnce() {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kHostClass;
    return RegisterClassW(&wc) != 0;
  }();
  EXPECT_TRUE(registered);
}

constexpr DWORD kLinesStyle = TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT;

HWND CreateHostWindow() {
  return CreateWindowExW(0, kHostClass, L"host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

// A hidden top-level window holding a 300 x 200 tree view.
class TreeViewHost {
 public:
  explicit TreeViewHost(DWORD treeStyle = kLinesStyle) : host_((RegisterHostClassOnce(), CreateHostWindow())) {
    tree_ = CreateWindowExW(0, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE | treeStyle, 0, 0, 300, 200, host_.get(),
                            nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  HWND host() const { return host_.get(); }
  HWND tree() const { return tree_; }
  LONG Style() const { return GetWindowLongW(tree_, GWL_STYLE); }

  // Adds an item as the last child of `parent` straight through the control.
  HTREEITEM Add(HTREEITEM parent, const wchar_t* text) const {
    std::wstring buffer = text;
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = buffer.data();
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  }

  std::wstring TextOf(HTREEITEM item) const {
    wchar_t text[300] = {};
    TVITEMW record = {};
    record.mask = TVIF_TEXT | TVIF_HANDLE;
    record.hItem = item;
    record.pszText = text;
    record.cchTextMax = 300;
    SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&record));
    return record.pszText;
  }

 private:
  ScopedWindow host_;
  HWND tree_ = nullptr;  // destroyed with the host
};

// Counts the messages in [first, last] that reach a window while it lives.
class MessageCounter {
 public:
  MessageCounter(HWND window, UINT first, UINT last) : window_(window), first_(first), last_(last) {
    installed_ = SetWindowSubclass(window_, Count, 1, reinterpret_cast<DWORD_PTR>(this));
  }
  ~MessageCounter() {
    if (installed_) RemoveWindowSubclass(window_, Count, 1);
  }
  MessageCounter(const MessageCounter&) = delete;
  MessageCounter& operator=(const MessageCounter&) = delete;
  bool installed() const { return installed_; }
  int count() const { return count_; }

 private:
  static LRESULT CALLBACK Count(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    auto* counter = reinterpret_cast<MessageCounter*>(self);
    if (message >= counter->first_ && message <= counter->last_) ++counter->count_;
    return DefSubclassProc(window, message, wParam, lParam);
  }

  HWND window_;
  UINT first_, last_;
  bool installed_ = false;
  int count_ = 0;
};

std::vector<std::string> TextsInListOrder(const ControlKit& kit) {
  std::vector<std::string> texts;
  for (int i = 0; i < static_cast<int>(kit.Items().size()); ++i) texts.push_back(kit.ItemText(i));
  return texts;
}

TEST(ControlKitAttach, AcceptsTreeViewsOfThisProcessOnly) {
  TreeViewHost host;
  ASSERT_NE(host.tree(), nullptr);
  ScopedWindow listBox(CreateWindowExW(0, WC_LISTBOXW, L"", WS_CHILD, 0, 0, 50, 50, host.host(), nullptr,
                                       GetModuleHandleW(nullptr), nullptr));
  ScopedWindow button(CreateWindowExW(0, L"BUTTON", L"", WS_CHILD, 0, 0, 50, 50, host.host(), nullptr,
                                      GetModuleHandleW(nullptr), nullptr));
  HWND destroyed = CreateWindowExW(0, WC_TREEVIEWW, L"", 0, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleW(nullptr),
                                   nullptr);
  DestroyWindow(destroyed);
  ASSERT_NE(listBox.get(), nullptr);
  ASSERT_NE(button.get(), nullptr);

  struct Case {
    const char* what;
    HWND window;
  };
  const Case refused[] = {
      {"list box", listBox.get()},        {"button", button.get()}, {"top-level host", host.host()},
      {"destroyed tree view", destroyed}, {"no window", nullptr},   {"desktop", GetDesktopWindow()},
  };
  for (const Case& c : refused) {
    ControlKit kit;
    EXPECT_FALSE(kit.Attach(c.window)) << c.what;
    EXPECT_EQ(kit.Window(), nullptr) << c.what;
  }

  ControlKit kit;
  ASSERT_TRUE(kit.Attach(host.tree()));
  EXPECT_EQ(kit.Window(), host.tree());
  EXPECT_FALSE(kit.Attach(listBox.get()));
  EXPECT_EQ(kit.Window(), host.tree()) << "a refused window leaves the kit as it was";
}

// treeview_host.exe running as a process of its own, closed at the end.
class OtherProcessTreeView {
 public:
  OtherProcessTreeView() {
    std::wstring commandLine = Widen(std::string("\"") + TVK_FIXTURES_DIR + "\\treeview_host.exe\"");
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
      return;
    process_.reset(info.hProcess);
    CloseHandle(info.hThread);
    processId_ = info.dwProcessId;
    WaitForInputIdle(process_.get(), 10000);
    // Poll for the window in case the program went idle before making it.
    const DWORD start = GetTickCount();
    while (!tree_ && GetTickCount() - start < 10000) {
      FindTree();
      if (!tree_) Sleep(10);
    }
  }
  ~OtherProcessTreeView() {
    if (!process_.valid()) return;
    if (host_) PostMessageW(host_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.get(), 10000) != WAIT_OBJECT_0) TerminateProcess(process_.get(), 1);
  }
  OtherProcessTreeView(const OtherProcessTreeView&) = delete;
  OtherProcessTreeView& operator=(const OtherProcessTreeView&) = delete;

  HWND tree() const { return tree_; }

 private:
  void FindTree() {
    for (HWND w = FindWindowExW(nullptr, nullptr, L"TvkTreeViewFixtureHost", nullptr); w;
         w = FindWindowExW(nullptr, w, L"TvkTreeViewFixtureHost", nullptr)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(w, &owner);
      if (owner != processId_) continue;
      host_ = w;
      tree_ = FindWindowExW(w, nullptr, WC_TREEVIEWW, nullptr);
      return;
    }
  }

  ScopedHandle process_;
  DWORD processId_ = 0;
  HWND host_ = nullptr;
  HWND tree_ = nullptr;
};

TEST(ControlKitAttach, RefusesATreeViewOfAnotherProcess) {
  OtherProcessTreeView other;
  ASSERT_NE(other.tree(), nullptr) << "treeview_host.exe did not show its tree view";
  wchar_t name[64] = {};
  GetClassNameW(other.tree(), name, 64);
  ASSERT_STREQ(name, L"SysTreeView32");
  ControlKit kit;
  EXPECT_FALSE(kit.Attach(other.tree()));
  EXPECT_EQ(kit.Window(), nullptr);
}

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST(ControlKitAttach, ClassNameMatchesInAnyLetterCase) {
  // A class of this program's own that only shares the name: the kit goes by
  // the name. Registered for this test alone, so that other tests' tree
  // views come from the common controls.
  WNDCLASSW wc = {};
  wc.lpfnWndProc = PlainWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"systreeVIEW32";
  ASSERT_NE(RegisterClassW(&wc), 0);
  {
    ScopedWindow lookalike(
        CreateWindowExW(0, L"systreeVIEW32", L"", 0, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    ASSERT_NE(lookalike.get(), nullptr);
    wchar_t name[64] = {};
    GetClassNameW(lookalike.get(), name, 64);
    EXPECT_STREQ(name, L"systreeVIEW32");
    ControlKit kit;
    EXPECT_TRUE(kit.Attach(lookalike.get()));
    EXPECT_TRUE(kit.Items().empty());
  }
  EXPECT_TRUE(UnregisterClassW(L"systreeVIEW32", GetModuleHandleW(nullptr)));
}

TEST(ControlKitTrackSelect, AddsTheBitOnlyWhenMissing) {
  struct Case {
    const char* what;
    DWORD style;
    int writesExpected;
  };
  const Case cases[] = {
      {"without track-select", kLinesStyle, 1},
      {"with track-select", TVS_TRACKSELECT | TVS_HASBUTTONS, 0},
  };
  for (const Case& c : cases) {
    TreeViewHost host(c.style);
    const LONG before = host.Style();
    ASSERT_EQ((before & TVS_TRACKSELECT) != 0, (c.style & TVS_TRACKSELECT) != 0) << c.what;
    ControlKit kit;
    ASSERT_TRUE(kit.Attach(host.tree()));
    MessageCounter styleWrites(host.tree(), WM_STYLECHANGED, WM_STYLECHANGED);
    ASSERT_TRUE(styleWrites.installed());

    kit.EnableTrackSelect();
    EXPECT_EQ(host.Style(), before | TVS_TRACKSELECT) << c.what << ": the other bits stay";
    EXPECT_EQ(styleWrites.count(), c.writesExpected) << c.what;
    kit.EnableTrackSelect();
    EXPECT_EQ(host.Style(), before | TVS_TRACKSELECT) << c.what;
    EXPECT_EQ(styleWrites.count(), c.writesExpected) << c.what << ": a second call writes nothing";
  }
}

TEST(ControlKitItems, RefreshItemsListsTheTreeInPreOrder) {
  TreeViewHost host;
  ControlKit kit;
  ASSERT_TRUE(kit.Attach(host.tree()));
  EXPECT_EQ(kit.RefreshItems(), 0);
  EXPECT_TRUE(kit.Items().empty());

  // Made breadth first, so that the order of making is not the pre-order:
  // A (B (C (E)), D), F (G), H.
  HTREEITEM a = host.Add(nullptr, L"A");
  HTREEITEM f = host.Add(nullptr, L"F");
  host.Add(nullptr, L"H");
  HTREEITEM b = host.Add(a, L"B");
  host.Add(a, L"D");
  host.Add(f, L"G");
  HTREEITEM c = host.Add(b, L"C");
  host.Add(c, L"E");

  EXPECT_TRUE(kit.Items().empty()) << "the list is a snapshot";
  ASSERT_EQ(kit.RefreshItems(), 8);
  EXPECT_EQ(kit.ItemCount(), 8);
  EXPECT_EQ(TextsInListOrder(kit), (std::vector<std::string>{"A", "B", "C", "E", "D", "F", "G", "H"}));

  const int levels[] = {1, 2, 3, 4, 2, 1, 2, 1};
  const int parents[] = {-1, 0, 1, 2, 0, -1, 5, -1};
  const int children[] = {1, 1, 1, 0, 0, 1, 0, 0};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(kit.ItemLevel(i), levels[i]) << i;
    EXPECT_EQ(kit.ParentOf(i), parents[i]) << i;
    EXPECT_EQ(kit.HasChildren(i), children[i]) << i;
    EXPECT_EQ(kit.IndexOfHandle(kit.Items()[static_cast<size_t>(i)]), i);
  }
  EXPECT_EQ(kit.IndexOfHandle(nullptr), -1);
  EXPECT_EQ(kit.IndexOfHandle(TVI_ROOT), -1);

  // A second kit attached afterwards takes the same list at once.
  ControlKit other;
  ASSERT_TRUE(other.Attach(host.tree()));
  EXPECT_EQ(other.Items(), kit.Items());
}

TEST(ControlKitItems, InsertItemAddsLastChildrenAndTakesTheListAnew) {
  TreeViewHost host;
  ControlKit kit;
  ASSERT_TRUE(kit.Attach(host.tree()));
  EXPECT_EQ(kit.InsertItem(-1, "A"), 0);
  EXPECT_EQ(kit.InsertItem(-1, "C"), 1);
  EXPECT_EQ(kit.InsertItem(0, "B", 3, 4, 0x5678), 1) << "the first child of A comes right after it";
  EXPECT_EQ(kit.InsertItem(1, "B1"), 2);
  EXPECT_EQ(TextsInListOrder(kit), (std::vector<std::string>{"A", "B", "B1", "C"}));
  EXPECT_EQ(kit.ItemImage(1), 3);
  EXPECT_EQ(kit.ItemSelectedImage(1), 4);
  EXPECT_EQ(kit.ItemData(1), 0x5678);

  for (int parent : {-2, 4, 100}) EXPECT_EQ(kit.InsertItem(parent, "X"), -1) << parent;
  EXPECT_EQ(kit.ItemCount(), 4);
}

TEST(ControlKitItems, GetAndSetRoundTrip) {
  TreeViewHost host;
  host.Add(nullptr, L"one");
  host.Add(nullptr, L"two");
  ControlKit kit;
  ASSERT_TRUE(kit.Attach(host.tree()));

  struct Case {
    const char* what;
    std::function<bool(int, int)> set;
    std::function<int(int)> get;
    int value;
  };
  const Case cases[] = {
      {"image", [&](int i, int v) { return kit.SetItemImage(i, v); }, [&](int i) { return kit.ItemImage(i); }, 7},
      {"selected image", [&](int i, int v) { return kit.SetItemSelectedImage(i, v); },
       [&](int i) { return kit.ItemSelectedImage(i); }, 9},
      {"data", [&](int i, int v) { return kit.SetItemData(i, v); },
       [&](int i) { return static_cast<int>(kit.ItemData(i)); }, -123456},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(c.set(1, c.value)) << c.what;
    EXPECT_EQ(c.get(1), c.value) << c.what;
    EXPECT_NE(c.get(0), c.value) << c.what << ": only the item named";
  }

  // Chinese text goes to the control as UTF-16 and comes back as code page 936.
  const std::string chinese = "软件盒子·[免]┊游戏";
  ASSERT_TRUE(kit.SetItemText(1, chinese));
  EXPECT_EQ(host.TextOf(kit.Items()[1]), L"软件盒子·[免]┊游戏");
  EXPECT_EQ(kit.ItemText(1), chinese);
  EXPECT_EQ(kit.ItemText(0), "one");

  ASSERT_TRUE(kit.SetItemText(0, std::string(300, 'x')));
  EXPECT_EQ(kit.ItemText(0), std::string(259, 'x')) << "259 characters are read";
  ASSERT_TRUE(kit.SetItemText(0, ""));
  EXPECT_EQ(kit.ItemText(0), "");
}

TEST(ControlKitItems, NumbersOutsideTheListGiveEmptyValuesWithoutMessages) {
  TreeViewHost host;
  host.Add(host.Add(nullptr, L"one"), L"two");
  ControlKit kit;
  ASSERT_TRUE(kit.Attach(host.tree()));
  MessageCounter treeMessages(host.tree(), TV_FIRST, TV_FIRST + 0xFF);
  ASSERT_TRUE(treeMessages.installed());

  for (int item : {-1, 2, 50}) {
    EXPECT_EQ(kit.ItemLevel(item), 0);
    EXPECT_EQ(kit.ItemText(item), "");
    EXPECT_EQ(kit.ItemImage(item), 0);
    EXPECT_EQ(kit.ItemSelectedImage(item), 0);
    EXPECT_EQ(kit.ItemData(item), 0);
    EXPECT_FALSE(kit.SetItemImage(item, 1));
    EXPECT_FALSE(kit.SetItemSelectedImage(item, 1));
    EXPECT_FALSE(kit.SetItemData(item, 1));
    EXPECT_FALSE(kit.SetItemText(item, "x"));
    kit.EnsureVisible(item);
    kit.Expand(item);
    kit.Collapse(item);
    EXPECT_FALSE(kit.DeleteItem(item));
    EXPECT_EQ(kit.ParentOf(item), -1);
    EXPECT_EQ(kit.HasChildren(item), 0);
    EXPECT_FALSE(kit.IsExpanded(item));
    EXPECT_FALSE(kit.IsChecked(item));
    EXPECT_FALSE(kit.SetChecked(item, true));
    EXPECT_FALSE(kit.SetBold(item));
    EXPECT_FALSE(kit.ClearBold(item));
    EXPECT_FALSE(kit.SelectItem(item));
  }
  EXPECT_EQ(treeMessages.count(), 0);
  EXPECT_EQ(kit.ItemCount(), 2);
}

TEST(ControlKitItems, ExpandCollapseEnsureVisibleAndSelection) {
  TreeViewHost host;
  HTREEITEM a = host.Add(nullptr, L"A");
  host.Add(host.Add(a, L"B"), L"C");
  host.Add(nullptr, L"D");
  ControlKit kit;
  ASSERT_TRUE(kit.Attach(host.tree()));  // A, B, C, D

  EXPECT_FALSE(kit.IsExpanded(0));
  kit.Expand(0);
  EXPECT_TRUE(kit.IsExpanded(0));
  kit.Collapse(0);
  EXPECT_FALSE(kit.IsExpanded(0));

  kit.EnsureVisible(2);
  EXPECT_TRUE(kit.IsExpanded(0)) << "C's ancestors open";
  EXPECT_TRUE(kit.IsExpanded(1));
  EXPECT_EQ(kit.FirstVisible(), 0);

  EXPECT_TRUE(kit.SelectItem(3));
  EXPECT_EQ(kit.SelectedItem(), 3);
  EXPECT_TRUE(kit.SelectItem(2));
  EXPECT_EQ(kit.SelectedItem(), 2);
}

TEST(ControlKitItems, CheckBoxesAndBold) {
  TreeViewHost host;
  ControlKit kit;
  ASSERT_TRUE(kit.Attach(host.tree()));
  kit.ShowCheckBoxes();
  EXPECT_NE(host.Style() & TVS_CHECKBOXES, 0);
  for (const char* text : {"a", "b", "c", "d"}) kit.InsertItem(-1, text);

  EXPECT_TRUE(kit.CheckedItems().empty());
  EXPECT_TRUE(kit.SetChecked(1, true));
  EXPECT_TRUE(kit.SetChecked(3, true));
  EXPECT_TRUE(kit.IsChecked(1));
  EXPECT_FALSE(kit.IsChecked(0));
  EXPECT_EQ(kit.CheckedItems(), (std::vector<int>{1, 3}));
  EXPECT_TRUE(kit.SetChecked(1, false));
  EXPECT_FALSE(kit.IsChecked(1));
  EXPECT_EQ(SendMessageW(host.tree(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(kit.Items()[1]), TVIS_STATEIMAGEMASK),
            0x1000) << "the unchecked state image";
  EXPECT_EQ(kit.CheckedItems(), (std::vector<int>{3}));

  auto bold = [&](int item) {
    return (SendMessageW(host.tree(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(kit.Items()[item]), TVIS_BOLD) &
            TVIS_BOLD) != 0;
  };
  EXPECT_TRUE(kit.SetBold(2));
  EXPECT_TRUE(bold(2));
  EXPECT_FALSE(bold(1));
  EXPECT_TRUE(kit.ClearBold(2));
  EXPECT_FALSE(bold(2));
}

TEST(ControlKitItems, DeletingTakesTheListAnew) {
  TreeViewHost host;
  HTREEITEM a = host.Add(nullptr, L"A");
  host.Add(a, L"B");
  host.Add(nullptr, L"C");
  ControlKit kit;
  ASSERT_TRUE(kit.Attach(host.tree()));
  const HTREEITEM c = kit.Items()[2];

  EXPECT_TRUE(kit.DeleteItem(0));
  EXPECT_EQ(kit.ItemCount(), 1);
  EXPECT_EQ(kit.Items(), std::vector<HTREEITEM>{c});
  EXPECT_EQ(kit.ItemText(0), "C");

  kit.DeleteAllItems();
  EXPECT_EQ(kit.ItemCount(), 0);
  EXPECT_TRUE(kit.Items().empty());
}

TEST(ControlKitLook, ColoursAndItemHeightRoundTrip) {
  TreeViewHost host;
  ControlKit kit;
  ASSERT_TRUE(kit.Attach(host.tree()));
  struct Case {
    const char* what;
    std::function<void(COLORREF)> set;
    std::function<COLORREF()> get;
  };
  const Case cases[] = {
      {"background", [&](COLORREF c) { kit.SetBackColor(c); }, [&] { return kit.BackColor(); }},
      {"text", [&](COLORREF c) { kit.SetTextColor(c); }, [&] { return kit.TextColor(); }},
      {"lines", [&](COLORREF c) { kit.SetLineColor(c); }, [&] { return kit.LineColor(); }},
  };
  const COLORREF colours[] = {RGB(245, 245, 245), RGB(1, 2, 3), RGB(200, 100, 50)};
  for (size_t i = 0; i < std::size(cases); ++i) cases[i].set(colours[i]);
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i].get(), colours[i]) << cases[i].what;

  kit.SetItemHeight(24);
  EXPECT_EQ(kit.ItemHeight(), 24);
  RECT client = {};
  GetClientRect(host.tree(), &client);
  EXPECT_EQ(kit.VisibleCount(), (client.bottom - client.top) / 24);
}

TEST(ControlKitLook, StyleSwitchesSetAndClearTheirBits) {
  struct Case {
    const char* what;
    std::function<bool(ControlKit&, bool)> flip;
    DWORD bit;
  };
  const Case cases[] = {
      {"no scroll", [](ControlKit& k, bool on) { return k.SwitchNoScroll(on); }, TVS_NOSCROLL},
      {"no horizontal scroll", [](ControlKit& k, bool on) { return k.SwitchNoHScroll(on); }, TVS_NOHSCROLL},
      {"full row select", [](ControlKit& k, bool on) { return k.SwitchFullRowSelect(on); }, TVS_FULLROWSELECT},
  };
  for (const Case& c : cases) {
    TreeViewHost host(TVS_HASBUTTONS);
    ControlKit kit;
    ASSERT_TRUE(kit.Attach(host.tree()));
    const LONG before = host.Style();
    ASSERT_EQ(before & c.bit, 0) << c.what;
    EXPECT_TRUE(c.flip(kit, true)) << c.what;
    EXPECT_EQ(host.Style(), before | static_cast<LONG>(c.bit)) << c.what;
    EXPECT_TRUE(c.flip(kit, false)) << c.what;
    EXPECT_EQ(host.Style(), before) << c.what;

    ControlKit unattached;
    EXPECT_FALSE(c.flip(unattached, true)) << c.what;
  }

  TreeViewHost lined(kLinesStyle);
  ControlKit kit;
  ASSERT_TRUE(kit.Attach(lined.tree()));
  const LONG before = lined.Style();
  EXPECT_FALSE(kit.SwitchFullRowSelect()) << "refused while the tree has lines";
  EXPECT_EQ(lined.Style(), before);
}

}  // namespace
}  // namespace tvk
