#include "config/ControlState_win.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>

#include "util/Text.h"
#include "util/UiHooks.h"
#include "util/WideText_win.h"

namespace tvk {

namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kStoredLineBreak = "┊*┊";

constexpr std::string_view kSelectionSuffix = ".选中";
constexpr std::string_view kTicksSuffix = ".打勾";
constexpr std::string_view kListSuffix = ".列表";
constexpr std::string_view kContentSuffix = ".内容";
constexpr std::string_view kTagSuffix = ".标记";

constexpr std::string_view kDefaultWindowSection = "主界面";
constexpr std::string_view kWindowSectionSuffix = ".尺寸";
constexpr std::string_view kStateKey = "位置";
constexpr std::string_view kLeftKey = "左边";
constexpr std::string_view kTopKey = "顶边";
constexpr std::string_view kWidthKey = "宽度";
constexpr std::string_view kHeightKey = "高度";

std::string Key(std::string_view name, std::string_view suffix) { return std::string(name) + std::string(suffix); }

bool IsControl(const PersistedControl& control) { return control.window && IsWindow(control.window); }

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return SendMessageW(window, message, wParam, lParam);
}

int StoredInt(IniStore& store, std::string_view key, int fallback) {
  return TruncateToInt(store.GetNumber(key, fallback));
}

// --- window texts ------------------------------------------------------------------

std::string TextOf(HWND window) {
  auto length = static_cast<size_t>(std::max<LRESULT>(Send(window, WM_GETTEXTLENGTH), 0));
  std::wstring buffer(length + 1, L'\0');
  auto copied = static_cast<size_t>(
      std::max<LRESULT>(Send(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data())), 0));
  return Narrow(std::wstring_view(buffer.data(), std::min(copied, length)));
}

void SetTextOf(HWND window, std::string_view text) {
  std::wstring wide = Widen(text);
  Send(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

// --- item lists of list boxes and combo boxes ------------------------------------------
// The two controls have the same messages under different numbers.

struct ListMessages {
  UINT count, textLength, text, reset, insert, getSelection, setSelection;
  LRESULT error;
};
constexpr ListMessages kListBox = {LB_GETCOUNT,     LB_GETTEXTLEN, LB_GETTEXT,   LB_RESETCONTENT,
                                   LB_INSERTSTRING, LB_GETCURSEL,  LB_SETCURSEL, LB_ERR};
constexpr ListMessages kComboBox = {CB_GETCOUNT,     CB_GETLBTEXTLEN, CB_GETLBTEXT, CB_RESETCONTENT,
                                    CB_INSERTSTRING, CB_GETCURSEL,    CB_SETCURSEL, CB_ERR};

std::vector<std::string> ItemsOf(HWND window, const ListMessages& m) {
  std::vector<std::string> items;
  LRESULT count = Send(window, m.count);
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT length = Send(window, m.textLength, i);
    if (length == m.error) length = 0;
    std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
    LRESULT copied = Send(window, m.text, i, reinterpret_cast<LPARAM>(buffer.data()));
    if (copied == m.error || copied < 0) copied = 0;
    items.push_back(Narrow(std::wstring_view(buffer.data(), std::min(copied, length))));
  }
  return items;
}

void SetItemsOf(HWND window, const ListMessages& m, const std::vector<std::string>& items) {
  Send(window, m.reset);
  // Inserting at the end keeps the stored order (a sorted control stored them sorted).
  for (const std::string& item : items) {
    std::wstring wide = Widen(item);
    Send(window, m.insert, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wide.c_str()));
  }
}

int SelectionOf(HWND window, const ListMessages& m) {
  LRESULT selection = Send(window, m.getSelection);
  return selection == m.error ? -1 : static_cast<int>(selection);
}

void Select(HWND window, const ListMessages& m, int selection) {
  Send(window, m.setSelection, static_cast<WPARAM>(selection));
}

bool SaveItems(IniStore& store, std::string_view key, HWND window, const ListMessages& m) {
  return store.WriteBytesFile(key, EncodeItemList(ItemsOf(window, m)));
}

bool RestoreItems(IniStore& store, std::string_view key, HWND window, const ListMessages& m) {
  std::vector<std::string> items;
  if (!DecodeItemList(store.ReadBytesFile(key), items)) return false;
  SetItemsOf(window, m, items);
  return true;
}

// --- check-list boxes (list views with check boxes) -----------------------------------------

constexpr int kUncheckedImage = 1;
constexpr int kCheckedImage = 2;

int ListViewCount(HWND window) { return static_cast<int>(Send(window, LVM_GETITEMCOUNT)); }

std::string ListViewItemText(HWND window, int item) {
  std::wstring buffer(128, L'\0');
  for (;;) {
    LVITEMW record = {};
    record.iSubItem = 0;
    record.pszText = buffer.data();
    record.cchTextMax = static_cast<int>(buffer.size());
    auto length = static_cast<size_t>(std::max<LRESULT>(
        Send(window, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&record)), 0));
    // A text that fills the buffer may have been cut: read it again with room to spare.
    if (length + 1 < buffer.size() || buffer.size() >= 0x100000)
      return Narrow(std::wstring_view(buffer.data(), std::min(length, buffer.size())));
    buffer.assign(buffer.size() * 2, L'\0');
  }
}

void SetListViewState(HWND window, int item, UINT state, UINT mask) {
  LVITEMW record = {};
  record.state = state;
  record.stateMask = mask;
  Send(window, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&record));
}

bool IsTicked(HWND window, int item) {
  auto state = static_cast<UINT>(Send(window, LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_STATEIMAGEMASK));
  return (state >> 12) == kCheckedImage;
}

std::string TicksOf(HWND window) {
  std::string ticks;
  for (int i = 0, count = ListViewCount(window); i < count; ++i) {
    if (!IsTicked(window, i)) continue;
    if (!ticks.empty()) ticks += ',';
    ticks += std::to_string(i);
  }
  return ticks;
}

void SetTicks(HWND window, std::string_view ticks) {
  std::vector<bool> ticked(static_cast<size_t>(std::max(ListViewCount(window), 0)), false);
  for (const std::string& piece : SplitAll(ticks, ",")) {
    if (piece.empty()) continue;
    int item = TruncateToInt(ParseNumber(piece));
    if (item >= 0 && item < static_cast<int>(ticked.size())) ticked[static_cast<size_t>(item)] = true;
  }
  for (size_t i = 0; i < ticked.size(); ++i)
    SetListViewState(window, static_cast<int>(i), INDEXTOSTATEIMAGEMASK(ticked[i] ? kCheckedImage : kUncheckedImage),
                     LVIS_STATEIMAGEMASK);
}

int ListViewSelection(HWND window) {
  return static_cast<int>(Send(window, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void SelectListViewItem(HWND window, int item) {
  SetListViewState(window, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);  // -1: every item
  if (item >= 0 && item < ListViewCount(window))
    SetListViewState(window, item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void SetListViewItems(HWND window, const std::vector<std::string>& items) {
  Send(window, LVM_DELETEALLITEMS);
  for (size_t i = 0; i < items.size(); ++i) {
    std::wstring wide = Widen(items[i]);
    LVITEMW record = {};
    record.mask = LVIF_TEXT;
    record.iItem = static_cast<int>(i);
    record.pszText = wide.data();
    Send(window, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&record));
  }
}

// --- window rectangles ----------------------------------------------------------------

// The window's rectangle as MoveWindow takes it: screen coordinates for a
// top-level window, the parent's client coordinates for a child.
RECT FrameRect(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  HWND parent = GetAncestor(window, GA_PARENT);
  if ((GetWindowLongW(window, GWL_STYLE) & WS_CHILD) && parent)
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::string WindowSection(std::string_view sectionName) {
  return std::string(sectionName.empty() ? kDefaultWindowSection : sectionName) + std::string(kWindowSectionSuffix);
}

// Longer prefixes first, so that no kind can hide another.
struct KindPrefix {
  std::string_view prefix;
  ControlKind kind;
};
constexpr KindPrefix kKindPrefixes[] = {
    {"选择列表框", ControlKind::CheckList}, {"颜色选择器", ControlKind::ColourPicker},
    {"编辑框", ControlKind::Edit},          {"选择框", ControlKind::CheckBox},
    {"单选框", ControlKind::RadioButton},   {"组合框", ControlKind::ComboBox},
    {"列表框", ControlKind::ListBox},       {"按钮", ControlKind::Button},
};

using ControlOperation = bool (*)(IniStore&, const PersistedControl&);

void Run(IniStore& store, const PersistedControl& control, bool restore, ControlOperation save,
         ControlOperation restoreOperation) {
  (restore ? restoreOperation : save)(store, control);
}

void PersistOne(IniStore& store, PersistedControl& control, ControlKind kind, bool restore, bool comboList,
                bool comboContent) {
  switch (kind) {
    case ControlKind::Button:
      if (restore)
        RestoreButtonTag(store, control.name, control.tag);
      else
        SaveButtonTag(store, control.name, control.tag);
      break;
    case ControlKind::Edit: Run(store, control, restore, SaveEditBox, RestoreEditBox); break;
    case ControlKind::CheckBox: Run(store, control, restore, SaveCheckBox, RestoreCheckBox); break;
    case ControlKind::RadioButton: Run(store, control, restore, SaveRadioButton, RestoreRadioButton); break;
    case ControlKind::ComboBox:
      // Items first and content last: replacing the items empties the edit
      // text, and selecting an item writes the item's text there.
      if (comboList) Run(store, control, restore, SaveComboItems, RestoreComboItems);
      Run(store, control, restore, SaveComboSelection, RestoreComboSelection);
      if (comboContent) Run(store, control, restore, SaveComboContent, RestoreComboContent);
      break;
    case ControlKind::ListBox: Run(store, control, restore, SaveListBox, RestoreListBox); break;
    case ControlKind::CheckList: Run(store, control, restore, SaveCheckList, RestoreCheckList); break;
    case ControlKind::ColourPicker: Run(store, control, restore, SaveColourPicker, RestoreColourPicker); break;
    case ControlKind::Other: break;
  }
}

}  // namespace

ControlKind KindOfControlName(std::string_view name) {
  for (const KindPrefix& entry : kKindPrefixes)
    if (name.starts_with(entry.prefix)) return entry.kind;
  return ControlKind::Other;
}

void PersistControls(IniStore& store, std::vector<PersistedControl>& controls, bool restore, std::string_view section,
                     const std::vector<std::string>& excludedNames, bool comboList, bool comboContent) {
  if (!section.empty()) store.SelectSection(section);
  for (PersistedControl& control : controls) {
    ControlKind kind = KindOfControlName(control.name);
    bool skipped = kind == ControlKind::Other || control.tag == kTagNoSave ||
                   std::find(excludedNames.begin(), excludedNames.end(), control.name) != excludedNames.end();
    if (!skipped) PersistOne(store, control, kind, restore, comboList, comboContent);
    ProcessPendingMessages();
  }
}

// --- one control ---------------------------------------------------------------------

bool SaveControlBool(IniStore& store, std::string_view name, bool value) { return store.SetBool(name, value); }

bool RestoreControlBool(IniStore& store, std::string_view name, bool fallback) { return store.GetBool(name, fallback); }

bool SaveCheckBox(IniStore& store, const PersistedControl& control) {
  if (!IsControl(control)) return false;
  return store.SetBool(control.name, Send(control.window, BM_GETCHECK) == BST_CHECKED);
}

bool RestoreCheckBox(IniStore& store, const PersistedControl& control) {
  if (!IsControl(control)) return false;
  bool checked = store.GetBool(control.name, Send(control.window, BM_GETCHECK) == BST_CHECKED);
  Send(control.window, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED);
  return true;
}

bool SaveEditBox(IniStore& store, const PersistedControl& control) {
  if (!IsControl(control)) return false;
  std::string text = TextOf(control.window);
  if (control.tag == kTagBytesMode) return store.WriteBytesFile(control.name, text);
  return store.SetText(control.name, text);
}

bool RestoreEditBox(IniStore& store, const PersistedControl& control) {
  if (!IsControl(control)) return false;
  std::string current = TextOf(control.window);
  std::string text =
      control.tag == kTagBytesMode ? store.ReadBytesFile(control.name, current) : store.GetText(control.name, current);
  if (text != current) SetTextOf(control.window, text);
  return true;
}

bool SaveCheckList(IniStore& store, const PersistedControl& control) {
  if (!IsControl(control)) return false;
  std::vector<std::string> items;
  for (int i = 0, count = ListViewCount(control.window); i < count; ++i)
    items.push_back(ListViewItemText(control.window, i));
  bool saved = store.WriteBytesFile(control.name, EncodeItemList(items));
  saved = store.SetNumber(Key(control.name, kSelectionSuffix), ListViewSelection(control.window)) && saved;
  return store.SetText(Key(control.name, kTicksSuffix), TicksOf(control.window)) && saved;
}

bool RestoreCheckList(IniStore& store, const PersistedControl& control) {
  if (!IsControl(control)) return false;
  std::vector<std::string> items;
  if (!DecodeItemList(store.ReadBytesFile(control.name), items)) return false;
  int selection = StoredInt(store, Key(control.name, kSelectionSuffix), ListViewSelection(control.window));
  std::string ticks = store.GetText(Key(control.name, kTicksSuffix), TicksOf(control.window));
  SetListViewItems(control.window, items);
  SetTicks(control.window, ticks);
  SelectListViewItem(control.window, selection);
  return true;
}

bool SaveComboItems(IniStore& store, const PersistedControl& control) {
  return IsControl(control) && SaveItems(store, Key(control.name, kListSuffix), control.window, kComboBox);
}

bool RestoreComboItems(IniStore& store, const PersistedControl& control) {
  return IsControl(control) && RestoreItems(store, Key(control.name, kListSuffix), control.window, kComboBox);
}

bool SaveListBox(IniStore& store, const PersistedControl& control) {
  if (!IsControl(control)) return false;
  bool saved = SaveItems(store, control.name, control.window, kListBox);
  return store.SetNumber(Key(control.name, kSelectionSuffix), SelectionOf(control.window, kListBox)) && saved;
}

bool RestoreListBox(IniStore& store, const PersistedControl& control) {
  if (!IsControl(control)) return false;
  int selection = StoredInt(store, Key(control.name, kSelectionSuffix), SelectionOf(control.window, kListBox));
  if (!RestoreItems(store, control.name, control.window, kListBox)) return false;
  Select(control.window, kListBox, selection);
  return true;
}

bool SaveComboSelection(IniStore& store, const PersistedControl& control) {
  if (!IsControl(control)) return false;
  return store.SetNumber(control.name, SelectionOf(control.window, kComboBox));
}

bool RestoreComboSelection(IniStore& store, const PersistedControl& control) {
  if (!IsControl(control)) return false;
  Select(control.window, kComboBox, StoredInt(store, control.name, SelectionOf(control.window, kComboBox)));
  return true;
}

bool SaveComboContent(IniStore& store, const PersistedControl& control) {
  if (!IsControl(control)) return false;
  return store.SetText(Key(control.name, kContentSuffix), TextOf(control.window));
}

bool RestoreComboContent(IniStore& store, const PersistedControl& control) {
  if (!IsControl(control)) return false;
  std::string current = TextOf(control.window);
  std::string text = store.GetText(Key(control.name, kContentSuffix), current);
  if (text != current) SetTextOf(control.window, text);
  return true;
}

bool SaveButtonTag(IniStore& store, std::string_view name, std::string_view tag) {
  std::string key = Key(name, kTagSuffix);
  return tag == kTagBytesMode ? store.WriteBytesFile(key, tag) : store.SetText(key, tag);
}

void RestoreButtonTag(IniStore& store, std::string_view name, std::string& tag) {
  std::string key = Key(name, kTagSuffix);
  tag = tag == kTagBytesMode ? store.ReadBytesFile(key, tag) : store.GetText(key, tag);
}

bool SaveColourPicker(IniStore& store, const PersistedControl& control) {
  COLORREF colour = 0;
  if (!IsControl(control) || !ColourPickerColour(control.window, colour)) return false;
  return store.SetNumber(control.name, colour);
}

bool RestoreColourPicker(IniStore& store, const PersistedControl& control) {
  COLORREF colour = 0;
  if (!IsControl(control) || !ColourPickerColour(control.window, colour)) return false;
  double stored = store.GetNumber(control.name, colour);
  if (stored < 0 || stored > 0xFFFFFFFF) return false;  // not a COLORREF
  return SetColourPickerColour(control.window, static_cast<COLORREF>(stored));
}

bool SaveRadioButton(IniStore& store, const PersistedControl& control) {
  if (!IsControl(control)) return false;
  return store.SetBool(control.name, Send(control.window, BM_GETCHECK) == BST_CHECKED);
}

bool RestoreRadioButton(IniStore& store, const PersistedControl& control) {
  if (!IsControl(control)) return false;
  bool checked = store.GetBool(control.name, Send(control.window, BM_GETCHECK) == BST_CHECKED);
  // BM_SETCHECK leaves the other buttons of the group alone: each restores its own state.
  Send(control.window, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED);
  return true;
}

// --- colour pickers ---------------------------------------------------------------------

namespace {
bool IsColourPicker(HWND picker) {
  if (!picker || !IsWindow(picker)) return false;
  wchar_t className[64] = {};
  if (GetClassNameW(picker, className, 64) == 0 || lstrcmpiW(className, kColourPickerClass) != 0) return false;
  return GetClassLongPtrW(picker, GCL_CBWNDEXTRA) >= kColourPickerExtraBytes;
}
}  // namespace

bool ColourPickerColour(HWND picker, COLORREF& colour) {
  if (!IsColourPicker(picker)) return false;
  colour = static_cast<COLORREF>(GetWindowLongW(picker, 0));
  return true;
}

bool SetColourPickerColour(HWND picker, COLORREF colour) {
  if (!IsColourPicker(picker)) return false;
  SetWindowLongW(picker, 0, static_cast<LONG>(colour));
  InvalidateRect(picker, nullptr, TRUE);
  return true;
}

// --- window placement ---------------------------------------------------------------------

int PlacementStateOf(HWND window) {
  if (IsIconic(window)) return kPlacementMinimised;
  if (IsZoomed(window)) return kPlacementMaximised;
  return kPlacementNormal;
}

bool SaveWindowPlacement(IniStore& store, HWND window, std::string_view sectionName) {
  if (!window || !IsWindow(window)) return false;
  store.SelectSection(WindowSection(sectionName));
  int state = PlacementStateOf(window);
  bool saved = store.SetNumber(kStateKey, state);
  if (state > kPlacementCentred) return saved;
  RECT rect = FrameRect(window);
  saved = store.SetNumber(kLeftKey, rect.left) && saved;
  saved = store.SetNumber(kTopKey, rect.top) && saved;
  saved = store.SetNumber(kWidthKey, rect.right - rect.left) && saved;
  return store.SetNumber(kHeightKey, rect.bottom - rect.top) && saved;
}

bool RestoreWindowPlacement(IniStore& store, HWND window, std::string_view sectionName) {
  if (!window || !IsWindow(window)) return false;
  store.SelectSection(WindowSection(sectionName));
  int state = StoredInt(store, kStateKey, PlacementStateOf(window));
  if (state == kPlacementMinimised) {
    ShowWindow(window, SW_MINIMIZE);
  } else if (state == kPlacementMaximised) {
    ShowWindow(window, SW_MAXIMIZE);
  } else if (state <= kPlacementCentred) {
    if (IsIconic(window) || IsZoomed(window)) ShowWindow(window, SW_RESTORE);
    RECT rect = FrameRect(window);
    int left = StoredInt(store, kLeftKey, rect.left);
    int top = StoredInt(store, kTopKey, rect.top);
    int width = StoredInt(store, kWidthKey, rect.right - rect.left);
    int height = StoredInt(store, kHeightKey, rect.bottom - rect.top);
    MoveWindow(window, left, top, width, height, TRUE);
  }
  return true;
}

// --- side-file item lists ---------------------------------------------------------------------

std::string EncodeItemList(const std::vector<std::string>& items) {
  std::string bytes = std::to_string(items.size());
  bytes += kLineBreak;
  for (const std::string& item : items) {
    bytes += ReplaceAll(item, kLineBreak, kStoredLineBreak);
    bytes += kLineBreak;
  }
  return bytes;
}

bool DecodeItemList(std::string_view bytes, std::vector<std::string>& items) {
  items.clear();
  size_t end = bytes.find(kLineBreak);
  if (end == std::string_view::npos || end == 0 || end > 9) return false;
  size_t count = 0;
  for (char c : bytes.substr(0, end)) {
    if (c < '0' || c > '9') return false;
    count = count * 10 + static_cast<size_t>(c - '0');
  }
  std::vector<std::string> decoded;
  size_t at = end + kLineBreak.size();
  for (size_t i = 0; i < count; ++i) {
    end = bytes.find(kLineBreak, at);
    if (end == std::string_view::npos) return false;
    decoded.push_back(ReplaceAll(bytes.substr(at, end - at), kStoredLineBreak, kLineBreak));
    at = end + kLineBreak.size();
  }
  if (at != bytes.size()) return false;
  items = std::move(decoded);
  return true;
}

}  // namespace tvk
