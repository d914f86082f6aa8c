// Saving and restoring the state of a form's controls, and a window's position
// and size, in an IniStore. Windows build only. Text is code page 936; the
// controls are real Win32 windows driven through their wide messages.
//
// The window toolkit describes each control by its form name, its tag text
// and its window (PersistedControl); nothing here depends on the toolkit
// itself. Values go to the store's selected section through its typed
// accessors and side files, under these keys:
//   name            the main value: check state, edit text, combo selection,
//                   colour; the items of a list box or check-list box (side file)
//   name + ".选中"   the selected item of a list box or check-list box
//   name + ".打勾"   the ticked items of a check-list box ("0,2": item numbers)
//   name + ".列表"   a combo box's items (side file)
//   name + ".内容"   a combo box's edit text
//   name + ".标记"   a button's tag
// Item numbers and selections count from 0, as the controls do; -1 is "none".
// Side files need a store opened with OpenAs (they go next to its path).
//
// Item lists live in side files (IniStore::WriteBytesFile), in this byte
// format: the item count in decimal digits and CR LF, then every item followed
// by CR LF. A CR LF inside an item is written as "┊*┊" and read back as CR LF,
// as IniStore::SetText does. The count makes an empty list "0\r\n", so a saved
// empty list restores as empty, while a missing side file (which the store
// cannot tell from an empty one) leaves the control's items as they are.
//
// Restoring reads every value with the control's current value as the
// fallback: a control with nothing stored keeps its state.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "config/IniStore.h"

namespace tvk {

// One control of a form as the toolkit knows it.
struct PersistedControl {
  std::string name;  // form name; its start tells the kind ("编辑框搜索" is an edit box)
  std::string tag;   // the control's tag text
  HWND window = nullptr;
};

// Tags with a meaning here.
inline constexpr std::string_view kTagNoSave = "禁止保存";       // the control is never saved nor restored
inline constexpr std::string_view kTagBytesMode = "字节集方式";  // the value goes to a side file

// What PersistControls takes a control for, from the start of its name:
//   "按钮" Button          the toolkit's button; its tag is kept
//   "编辑框" Edit          EDIT
//   "选择框" CheckBox      BUTTON with BS_(AUTO)CHECKBOX or BS_(AUTO)3STATE
//   "单选框" RadioButton   BUTTON with BS_(AUTO)RADIOBUTTON
//   "组合框" ComboBox      COMBOBOX
//   "列表框" ListBox       LISTBOX with single selection
//   "选择列表框" CheckList  SysListView32 with LVS_EX_CHECKBOXES and single
//                         selection (any view; the item text is column 0)
//   "颜色选择器" ColourPicker  a window of the class kColourPickerClass, which
//                         keeps its COLORREF in its window extra bytes
//                         (see ColourPickerColour)
// Names are compared as bytes from their first byte. No name can start with
// two of these prefixes ("选择列表框" starts with neither "选择框" nor
// "列表框"); the longer prefixes are tried first all the same.
enum class ControlKind { Other, Button, Edit, CheckBox, RadioButton, ComboBox, ListBox, CheckList, ColourPicker };
ControlKind KindOfControlName(std::string_view name);

// Saves (restore false) or restores (restore true) every control of the list
// by its kind; controls of another kind are left alone, and so are controls
// whose name is in `excludedNames` and controls tagged kTagNoSave. With a
// section, it is selected first (otherwise the store's selected section is
// used). Combo boxes always keep their selection; `comboList` adds their
// items, `comboContent` their edit text. Pending window messages run after
// each control, so handlers may run meanwhile; a control whose window is gone
// by its turn is passed over. On restore, a button's restored tag replaces its
// `tag` in the list, for the caller to hand back to the toolkit.
void PersistControls(IniStore& store, std::vector<PersistedControl>& controls, bool restore,
                     std::string_view section = {}, const std::vector<std::string>& excludedNames = {},
                     bool comboList = false, bool comboContent = false);

// --- one control ---------------------------------------------------------------
// Every Save returns false when the control is not a window or the store
// refuses the write; every Restore returns false when the control is not a
// window, and the item-list restores also when no well-formed side file is
// stored (the control is then left as it is).

// A boolean that belongs to a control (the caller decides which); PersistControls
// does not use these. The restore returns the stored value, or `fallback`.
bool SaveControlBool(IniStore& store, std::string_view name, bool value);
bool RestoreControlBool(IniStore& store, std::string_view name, bool fallback);

// Check box: checked or not, under the name (an indeterminate box saves as not checked).
bool SaveCheckBox(IniStore& store, const PersistedControl& control);
bool RestoreCheckBox(IniStore& store, const PersistedControl& control);

// Edit box: its text under the name, or with the tag kTagBytesMode in the side
// file of the name. An empty side file reads as missing: an empty text saved
// that way leaves the box as it is on restore.
bool SaveEditBox(IniStore& store, const PersistedControl& control);
bool RestoreEditBox(IniStore& store, const PersistedControl& control);

// Check-list box: its items in the side file of the name, the selected item
// under name + ".选中", the ticked item numbers joined by "," under name + ".打勾".
bool SaveCheckList(IniStore& store, const PersistedControl& control);
bool RestoreCheckList(IniStore& store, const PersistedControl& control);

// Combo box items: in the side file of name + ".列表".
bool SaveComboItems(IniStore& store, const PersistedControl& control);
bool RestoreComboItems(IniStore& store, const PersistedControl& control);

// List box: its items in the side file of the name, its selection under name + ".选中".
bool SaveListBox(IniStore& store, const PersistedControl& control);
bool RestoreListBox(IniStore& store, const PersistedControl& control);

// Combo box selection: the selected item's number under the name.
bool SaveComboSelection(IniStore& store, const PersistedControl& control);
bool RestoreComboSelection(IniStore& store, const PersistedControl& control);

// Combo box content: its edit text under name + ".内容".
bool SaveComboContent(IniStore& store, const PersistedControl& control);
bool RestoreComboContent(IniStore& store, const PersistedControl& control);

// Button tag (the tag lives in the toolkit, so it is passed in and out): under
// name + ".标记" as text, or, when the tag is kTagBytesMode, in the side file
// of name + ".标记". The restore decides between the two by the tag it is
// given and replaces it with the stored one (keeps it when nothing is stored).
bool SaveButtonTag(IniStore& store, std::string_view name, std::string_view tag);
void RestoreButtonTag(IniStore& store, std::string_view name, std::string& tag);

// Colour picker: its COLORREF as a number under the name. The restore also
// returns false, changing nothing, when the stored number is no COLORREF.
bool SaveColourPicker(IniStore& store, const PersistedControl& control);
bool RestoreColourPicker(IniStore& store, const PersistedControl& control);

// Radio button: checked or not, under the name.
bool SaveRadioButton(IniStore& store, const PersistedControl& control);
bool RestoreRadioButton(IniStore& store, const PersistedControl& control);

// --- colour pickers --------------------------------------------------------------
// A colour picker is a window of the class kColourPickerClass, which the
// toolkit registers with at least kColourPickerExtraBytes window extra bytes
// (WNDCLASS cbWndExtra); the picker keeps its COLORREF at offset 0 of them and
// paints it. These two read and write it there. Both return false for any
// other window: the class name is checked first, because other classes (EDIT
// among them) keep their own data in their extra bytes.
inline constexpr wchar_t kColourPickerClass[] = L"TvkColourPicker";
inline constexpr int kColourPickerExtraBytes = sizeof(LONG);
bool ColourPickerColour(HWND picker, COLORREF& colour);
// Also invalidates the picker, so that it paints the new colour.
bool SetColourPickerColour(HWND picker, COLORREF colour);

// --- window placement ---------------------------------------------------------------
// Placement states stored under "位置": 0 normal, 1 centred (a normal window
// placed at the centre: it is never saved, since a live window does not tell
// it, and restores as normal), 2 minimised, 3 maximised. Only the normal
// states 0 and 1 carry the four numbers of the window's rectangle: a
// minimised or maximised window's rectangle is not the one it returns to.
inline constexpr int kPlacementNormal = 0;
inline constexpr int kPlacementCentred = 1;
inline constexpr int kPlacementMinimised = 2;
inline constexpr int kPlacementMaximised = 3;

// The state of a window: kPlacementMinimised, kPlacementMaximised or kPlacementNormal.
int PlacementStateOf(HWND window);

// Selects the section `sectionName` (or "主界面" when empty) + ".尺寸" and
// writes "位置"; in a normal state also "左边", "顶边", "宽度", "高度": the
// window's rectangle in screen coordinates (a child window's in its parent's
// client coordinates, as MoveWindow takes them). False when `window` is not a
// window or a write fails. The section stays selected.
bool SaveWindowPlacement(IniStore& store, HWND window, std::string_view sectionName = {});

// Selects the same section and applies "位置" (the current state when absent):
// 2 minimises, 3 maximises (both show a hidden window); 1 or less brings the
// window back to normal and moves it to the four numbers (the current ones
// where absent). Other states change nothing. False when `window` is not a
// window.
bool RestoreWindowPlacement(IniStore& store, HWND window, std::string_view sectionName = {});

// --- side-file item lists --------------------------------------------------------------
std::string EncodeItemList(const std::vector<std::string>& items);
// False, leaving `items` empty, when `bytes` is not a list in that format
// (no count line, a count that is not decimal digits, fewer items than
// counted, or bytes after the last item).
bool DecodeItemList(std::string_view bytes, std::vector<std::string>& items);

}  // namespace tvk
