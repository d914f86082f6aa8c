#include "util/ControlKit.h"

#include <cwchar>
#include <iterator>

#include "util/WideText_win.h"

namespace tvk {

namespace {

constexpr int kTextCapacity = 260;
constexpr UINT kStateImageMask = 0xF000;
constexpr UINT kCheckedStateImage = 0x2000;    // state image 2
constexpr UINT kUncheckedStateImage = 0x1000;  // state image 1

bool IsTreeViewClass(HWND window) {
  wchar_t name[51] = {};
  const int length = GetClassNameW(window, name, 51);
  const wchar_t kTreeView[] = L"SYSTREEVIEW32";
  if (length != static_cast<int>(std::size(kTreeView)) - 1) return false;
  for (int i = 0; i < length; ++i) {
    wchar_t ch = name[i];
    if (ch >= L'a' && ch <= L'z') ch = static_cast<wchar_t>(ch - L'a' + L'A');
    if (ch != kTreeView[i]) return false;
  }
  return true;
}

// NB: the messages below carry addresses in this process. Sent to a control
// of another process they would make it read and write its own memory at
// those addresses, so Attach refuses such windows.
bool BelongsToThisProcess(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process == GetCurrentProcessId();
}

}  // namespace

bool ControlKit::Attach(HWND window) {
  if (!window || !IsWindow(window) || !IsTreeViewClass(window) || !BelongsToThisProcess(window)) return false;
  window_ = window;
  RefreshItems();
  return true;
}

int ControlKit::ItemCount() const { return static_cast<int>(Send(TVM_GETCOUNT)); }

int ControlKit::ItemLevel(int item) const {
  HTREEITEM handle = Handle(item);
  if (!handle) return 0;
  int level = 1;
  while ((handle = reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(handle)))))
    ++level;
  return level;
}

std::string ControlKit::ItemText(int item) const {
  wchar_t text[kTextCapacity] = {};
  TVITEMEXW record = {};
  record.pszText = text;
  record.cchTextMax = kTextCapacity;
  if (!GetItem(item, TVIF_TEXT, record)) return {};
  // The control may answer with its own buffer instead of filling ours.
  const wchar_t* answer = record.pszText ? record.pszText : text;
  return Narrow(std::wstring_view(answer, wcsnlen(answer, kTextCapacity - 1)));
}

int ControlKit::ItemImage(int item) const {
  TVITEMEXW record = {};
  return GetItem(item, TVIF_IMAGE, record) ? record.iImage : 0;
}

int ControlKit::ItemSelectedImage(int item) const {
  TVITEMEXW record = {};
  return GetItem(item, TVIF_SELECTEDIMAGE, record) ? record.iSelectedImage : 0;
}

LPARAM ControlKit::ItemData(int item) const {
  TVITEMEXW record = {};
  return GetItem(item, TVIF_PARAM, record) ? record.lParam : 0;
}

bool ControlKit::SetItemImage(int item, int image) {
  TVITEMEXW record = {};
  record.mask = TVIF_IMAGE;
  record.iImage = image;
  return SetItem(item, record);
}

bool ControlKit::SetItemSelectedImage(int item, int image) {
  TVITEMEXW record = {};
  record.mask = TVIF_SELECTEDIMAGE;
  record.iSelectedImage = image;
  return SetItem(item, record);
}

bool ControlKit::SetItemData(int item, LPARAM data) {
  TVITEMEXW record = {};
  record.mask = TVIF_PARAM;
  record.lParam = data;
  return SetItem(item, record);
}

bool ControlKit::SetItemText(int item, std::string_view text) {
  std::wstring wide = Widen(text);
  TVITEMEXW record = {};
  record.mask = TVIF_TEXT;
  record.pszText = wide.data();  // NUL-terminated: std::wstring keeps one after its end
  return SetItem(item, record);
}

void ControlKit::EnsureVisible(int item) {
  if (HTREEITEM handle = Handle(item)) Send(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(handle));
}

void ControlKit::Expand(int item) {
  if (HTREEITEM handle = Handle(item)) Send(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(handle));
}

void ControlKit::Collapse(int item) {
  if (HTREEITEM handle = Handle(item)) Send(TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(handle));
}

int ControlKit::InsertItem(int parent, std::string_view text, int image, int selectedImage, LPARAM data) {
  if (!window_) return -1;
  HTREEITEM parentHandle = TVI_ROOT;
  if (parent != -1 && !(parentHandle = Handle(parent))) return -1;
  std::wstring wide = Widen(text);
  TVINSERTSTRUCTW insert = {};
  insert.hParent = parentHandle;
  insert.hInsertAfter = TVI_LAST;
  insert.itemex.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
  insert.itemex.pszText = wide.data();
  insert.itemex.iImage = image;
  insert.itemex.iSelectedImage = selectedImage;
  insert.itemex.lParam = data;
  auto added = reinterpret_cast<HTREEITEM>(Send(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  RefreshItems();
  return added ? IndexOfHandle(added) : -1;
}

bool ControlKit::DeleteItem(int item) {
  HTREEITEM handle = Handle(item);
  if (!handle) return false;
  const bool deleted = Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(handle)) != 0;
  // The handles of the deleted items are gone: a list holding them would
  // hand the control freed addresses.
  RefreshItems();
  return deleted;
}

void ControlKit::DeleteAllItems() {
  if (!window_) return;
  Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  RefreshItems();
}

int ControlKit::ParentOf(int item) const {
  HTREEITEM handle = Handle(item);
  if (!handle) return -1;
  auto parent = reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(handle)));
  return parent ? IndexOfHandle(parent) : -1;
}

int ControlKit::HasChildren(int item) const {
  TVITEMEXW record = {};
  return GetItem(item, TVIF_CHILDREN, record) ? record.cChildren : 0;
}

bool ControlKit::IsExpanded(int item) const {
  HTREEITEM handle = Handle(item);
  if (!handle) return false;
  return (Send(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(handle), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

void ControlKit::SetBackColor(COLORREF colour) { Send(TVM_SETBKCOLOR, 0, static_cast<LPARAM>(colour)); }

COLORREF ControlKit::BackColor() const { return static_cast<COLORREF>(Send(TVM_GETBKCOLOR)); }

void ControlKit::SetItemHeight(int height) { Send(TVM_SETITEMHEIGHT, static_cast<WPARAM>(height)); }

int ControlKit::ItemHeight() const { return static_cast<int>(Send(TVM_GETITEMHEIGHT)); }

void ControlKit::SetTextColor(COLORREF colour) { Send(TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(colour)); }

COLORREF ControlKit::TextColor() const { return static_cast<COLORREF>(Send(TVM_GETTEXTCOLOR)); }

void ControlKit::SetLineColor(COLORREF colour) { Send(TVM_SETLINECOLOR, 0, static_cast<LPARAM>(colour)); }

COLORREF ControlKit::LineColor() const { return static_cast<COLORREF>(Send(TVM_GETLINECOLOR)); }

void ControlKit::ShowCheckBoxes() { SwitchStyle(TVS_CHECKBOXES, true); }

void ControlKit::EnableTrackSelect() {
  if (!window_) return;
  const LONG style = GetWindowLongW(window_, GWL_STYLE);
  if (!(style & TVS_TRACKSELECT)) SetWindowLongW(window_, GWL_STYLE, style | TVS_TRACKSELECT);
}

bool ControlKit::SwitchNoScroll(bool on) { return SwitchStyle(TVS_NOSCROLL, on); }

bool ControlKit::SwitchNoHScroll(bool on) { return SwitchStyle(TVS_NOHSCROLL, on); }

bool ControlKit::SwitchFullRowSelect(bool on) {
  if (!window_ || (GetWindowLongW(window_, GWL_STYLE) & TVS_HASLINES)) return false;
  return SwitchStyle(TVS_FULLROWSELECT, on);
}

bool ControlKit::IsChecked(int item) const {
  TVITEMEXW record = {};
  record.stateMask = kStateImageMask;
  return GetItem(item, TVIF_STATE, record) && (record.state & kStateImageMask) == kCheckedStateImage;
}

bool ControlKit::SetChecked(int item, bool checked) {
  TVITEMEXW record = {};
  record.mask = TVIF_STATE | TVIF_HANDLE;
  record.state = checked ? kCheckedStateImage : kUncheckedStateImage;
  record.stateMask = kStateImageMask;
  return SetItem(item, record);
}

bool ControlKit::SetBold(int item) {
  TVITEMEXW record = {};
  record.mask = TVIF_STATE;
  record.state = TVIS_BOLD;
  record.stateMask = TVIS_BOLD;
  return SetItem(item, record);
}

bool ControlKit::ClearBold(int item) {
  TVITEMEXW record = {};
  record.mask = TVIF_STATE;
  record.state = 0;
  record.stateMask = TVIS_BOLD;
  return SetItem(item, record);
}

int ControlKit::VisibleCount() const { return static_cast<int>(Send(TVM_GETVISIBLECOUNT)); }

int ControlKit::FirstVisible() const {
  auto handle = reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE));
  return handle ? IndexOfHandle(handle) : -1;
}

int ControlKit::SelectedItem() const {
  auto handle = reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_CARET));
  return handle ? IndexOfHandle(handle) : -1;
}

bool ControlKit::SelectItem(int item) {
  HTREEITEM handle = Handle(item);
  return handle && Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(handle)) != 0;
}

std::vector<int> ControlKit::CheckedItems() const {
  std::vector<int> checked;
  for (int i = 0; i < static_cast<int>(items_.size()); ++i)
    if (IsChecked(i)) checked.push_back(i);
  return checked;
}

int ControlKit::RefreshItems() {
  items_.clear();
  if (!window_) return 0;
  items_.reserve(static_cast<size_t>(ItemCount()));
  auto next = [this](UINT relation, HTREEITEM from) {
    return reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(from)));
  };
  HTREEITEM item = next(TVGN_ROOT, nullptr);
  while (item) {
    items_.push_back(item);
    if (HTREEITEM child = next(TVGN_CHILD, item)) {
      item = child;
      continue;
    }
    // No child: the next sibling of the item or of its nearest ancestor
    // that has one; none at the top ends the walk.
    HTREEITEM sibling = nullptr;
    while (item && !(sibling = next(TVGN_NEXT, item))) item = next(TVGN_PARENT, item);
    item = sibling;
  }
  return static_cast<int>(items_.size());
}

int ControlKit::IndexOfHandle(HTREEITEM handle) const {
  if (!handle) return -1;
  // From both ends at once: recent items sit at the end of the list.
  int low = 0;
  int high = static_cast<int>(items_.size()) - 1;
  while (low <= high) {
    if (items_[static_cast<size_t>(low)] == handle) return low;
    if (items_[static_cast<size_t>(high)] == handle) return high;
    ++low;
    --high;
  }
  return -1;
}

HTREEITEM ControlKit::Handle(int item) const {
  if (!window_ || item < 0 || item >= static_cast<int>(items_.size())) return nullptr;
  return items_[static_cast<size_t>(item)];
}

LRESULT ControlKit::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
  return window_ ? SendMessageW(window_, message, wParam, lParam) : 0;
}

bool ControlKit::GetItem(int item, UINT mask, TVITEMEXW& record) const {
  HTREEITEM handle = Handle(item);
  if (!handle) return false;
  record.mask = mask | TVIF_HANDLE;
  record.hItem = handle;
  return Send(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&record)) != 0;
}

bool ControlKit::SetItem(int item, TVITEMEXW& record) {
  HTREEITEM handle = Handle(item);
  if (!handle) return false;
  record.mask |= TVIF_HANDLE;
  record.hItem = handle;
  return Send(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&record)) != 0;
}

bool ControlKit::SwitchStyle(DWORD bit, bool on) {
  if (!window_) return false;
  const LONG style = GetWindowLongW(window_, GWL_STYLE);
  SetWindowLongW(window_, GWL_STYLE, on ? (style | static_cast<LONG>(bit)) : (style & ~static_cast<LONG>(bit)));
  return true;
}

}  // namespace tvk
