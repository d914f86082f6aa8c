#include "platform/ui/TreeView.h"

#include <commctrl.h>

#include "platform/ui/Form.h"
#include "util/WideText_win.h"

namespace tvk::ui {

TreeView::TreeView(Form& form, std::string name) : Control(form, ControlKind::TreeView, std::move(name)) {}

TreeView::~TreeView() {
  if (images_) ImageList_Destroy(images_);
}

void TreeView::InsertInWindow(Item& item) {
  std::wstring text = Widen(item.text);
  TVINSERTSTRUCTW insert{};
  insert.hParent = TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  insert.item.pszText = text.data();
  insert.item.iImage = insert.item.iSelectedImage = item.image;
  item.handle = reinterpret_cast<void*>(SendMessageW(Window(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

int TreeView::AddItem(std::string text, int image) {
  items_.push_back(Item{std::move(text), image, nullptr});
  if (Window()) InsertInWindow(items_.back());
  return ItemCount() - 1;
}

void TreeView::ClearItems() {
  items_.clear();
  selected_ = -1;
  if (Window()) SendMessageW(Window(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
}

int TreeView::Selected() const { return selected_; }

void TreeView::Select(int index) {
  selected_ = index >= 0 && index < ItemCount() ? index : -1;
  if (Window())
    SendMessageW(Window(), TVM_SELECTITEM, TVGN_CARET,
                 reinterpret_cast<LPARAM>(selected_ >= 0 ? items_[static_cast<size_t>(selected_)].handle : nullptr));
}

void TreeView::SetImageList(HIMAGELIST images) {
  if (images_) ImageList_Destroy(images_);
  images_ = images;
  if (Window()) SendMessageW(Window(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_));
}

std::unique_ptr<Control> TreeView::CloneRecord(Form& form) const {
  auto clone = std::make_unique<TreeView>(form, Name());
  CopyCommonTo(*clone);
  for (const Item& item : items_) clone->items_.push_back(Item{item.text, item.image, nullptr});
  return clone;
}

HWND TreeView::CreateWindowIn(HWND parent, const Bounds& real) {
  return CreateChild(WC_TREEVIEWW, TVS_HASLINES | TVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE, parent, real);
}

void TreeView::ApplyProperties() {
  if (images_) SendMessageW(Window(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_));
  for (Item& item : items_) InsertInWindow(item);
  if (selected_ >= 0) Select(selected_);
}

void TreeView::BeforeDestroy() {
  for (Item& item : items_) item.handle = nullptr;
}

bool TreeView::OnParentNotify(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
  if (message != WM_NOTIFY) return false;
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (header->code == TVN_SELCHANGEDW) {
    auto* change = reinterpret_cast<NMTREEVIEWW*>(lParam);
    selected_ = -1;
    for (size_t i = 0; i < items_.size(); ++i)
      if (items_[i].handle == reinterpret_cast<void*>(change->itemNew.hItem)) selected_ = static_cast<int>(i);
    result = 0;
    return true;
  }
  if (header->code == NM_CLICK) {
    Raise(Handlers().clicked);
    result = 0;
    return true;
  }
  return false;
}

}  // namespace tvk::ui
