// Operations on a tree-view control (window class SysTreeView32) of this
// process, driven through its window messages. Windows build only. Text is
// code page 936; the wide messages carry it.
//
// Items are named by their number in the kit's list of the tree's items,
// counted from 0 in pre-order (RefreshItems). The list is a snapshot: it is
// taken by Attach, InsertItem, DeleteItem, DeleteAllItems and RefreshItems,
// not when the control changes by other means. An item number outside the
// list makes an operation return its empty value (empty text, 0, false, or
// -1 for an item number) without sending anything.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <string_view>
#include <vector>

namespace tvk {

class ControlKit {
 public:
  ControlKit() = default;

  // Attaches the kit to `window` when its class name is "SysTreeView32" in
  // any letter case and the window belongs to this process, and takes the
  // item list. Returns false otherwise; the kit keeps what it had.
  bool Attach(HWND window);

  // TVM_GETCOUNT: the items in the control (not the list).
  int ItemCount() const;
  // 1 for a top-level item, one more for each level below; 0 when absent.
  int ItemLevel(int item) const;
  // The item's text (at most 259 characters are read); empty when absent.
  std::string ItemText(int item) const;
  int ItemImage(int item) const;
  int ItemSelectedImage(int item) const;
  LPARAM ItemData(int item) const;
  bool SetItemImage(int item, int image);
  bool SetItemSelectedImage(int item, int image);
  bool SetItemData(int item, LPARAM data);
  bool SetItemText(int item, std::string_view text);
  void EnsureVisible(int item);
  void Expand(int item);
  void Collapse(int item);
  // Adds an item as the last child of `parent` (-1: as the last top-level
  // item), takes the list anew and returns the new item's number; -1 when
  // the parent is neither -1 nor in the list, or the control refuses.
  int InsertItem(int parent, std::string_view text, int image = 0, int selectedImage = 0, LPARAM data = 0);
  // Deletes the item with everything below it and takes the list anew.
  bool DeleteItem(int item);
  // Deletes every item and takes the (empty) list anew.
  void DeleteAllItems();
  // The parent's number; -1 for a top-level item or an item outside the list.
  int ParentOf(int item) const;
  // The item's children field: 1 when it has children, 0 when not.
  int HasChildren(int item) const;
  bool IsExpanded(int item) const;

  void SetBackColor(COLORREF colour);
  COLORREF BackColor() const;
  void SetItemHeight(int height);
  int ItemHeight() const;
  void SetTextColor(COLORREF colour);
  COLORREF TextColor() const;
  void SetLineColor(COLORREF colour);
  COLORREF LineColor() const;

  // Adds TVS_CHECKBOXES to the window style; call it before items are added.
  void ShowCheckBoxes();
  // Adds TVS_TRACKSELECT (the item under the mouse is highlighted) when the
  // style lacks it; otherwise the style is not written.
  void EnableTrackSelect();
  // Each sets (on) or clears its style bit; false when no window is attached.
  bool SwitchNoScroll(bool on = true);
  bool SwitchNoHScroll(bool on = true);
  // Also false, changing nothing, while TVS_HASLINES is set.
  bool SwitchFullRowSelect(bool on = true);

  // Whether the item shows the checked state image (2).
  bool IsChecked(int item) const;
  // Sets the checked (2) or unchecked (1) state image.
  bool SetChecked(int item, bool checked);
  bool SetBold(int item);
  bool ClearBold(int item);

  // TVM_GETVISIBLECOUNT: how many items fit fully in the client area.
  int VisibleCount() const;
  // Numbers of the first visible and of the selected item; -1 for none.
  int FirstVisible() const;
  int SelectedItem() const;
  bool SelectItem(int item);
  // Numbers of the items that show the checked state image, in list order.
  std::vector<int> CheckedItems() const;

  // Takes the item list anew: every item, in pre-order (an item, then its
  // children's subtrees in order). Returns the number of items listed.
  int RefreshItems();
  // The number of an item handle in the list; -1 when absent.
  int IndexOfHandle(HTREEITEM handle) const;

  HWND Window() const { return window_; }
  const std::vector<HTREEITEM>& Items() const { return items_; }

 private:
  HTREEITEM Handle(int item) const;
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  // TVM_GETITEMW of the fields in `mask` into `record`; false when absent.
  bool GetItem(int item, UINT mask, TVITEMEXW& record) const;
  // TVM_SETITEMW of the fields in record's mask.
  bool SetItem(int item, TVITEMEXW& record);
  bool SwitchStyle(DWORD bit, bool on);

  std::vector<HTREEITEM> items_;
  HWND window_ = nullptr;
};

}  // namespace tvk
