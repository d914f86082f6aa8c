// A tree view with an image list; the box lists search results in it.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/Control.h"

#include <commctrl.h>

namespace tvk::ui {

class TreeView : public Control {
 public:
  TreeView(Form& form, std::string name);
  ~TreeView() override;

  // Items live in the control's record too, so they survive the window.
  int AddItem(std::string text, int image = 0);
  void ClearItems();
  int ItemCount() const { return static_cast<int>(items_.size()); }
  const std::string& ItemText(int index) const { return items_.at(static_cast<size_t>(index)).text; }
  int Selected() const;  // -1 when none
  void Select(int index);
  // Images for the items: an image list the control takes over.
  void SetImageList(HIMAGELIST images);

 protected:
  std::unique_ptr<Control> CloneRecord(Form& form) const override;
  HWND CreateWindowIn(HWND parent, const Bounds& real) override;
  void ApplyProperties() override;
  void BeforeDestroy() override;
  bool OnParentNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  struct Item {
    std::string text;
    int image;
    void* handle;
  };
  void InsertInWindow(Item& item);
  std::vector<Item> items_;
  int selected_ = -1;
  HIMAGELIST images_ = nullptr;
};

}  // namespace tvk::ui
