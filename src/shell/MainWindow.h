// The main window's life: what happens when it is created, its tray icon,
// the header timers, closing and quitting.
#pragma once

#include <memory>

#include "catalogue/ScrollPanel.h"
#include "platform/ui/Form.h"
#include "shell/BoxState.h"
#include "shell/HeaderTimers.h"

namespace tvk {

class MainWindow {
 public:
  explicit MainWindow(BoxState& box);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Loads the window non-modally (its created event runs during the load).
  bool Load();
  ui::Form& Form() { return *form_; }
  std::string BrandInUse() const;

  // Tray icon mouse messages (left button: show or hide; right: quit question).
  void OnTrayMouse(unsigned mouseMessage);
  // Removes the tray icon and ends the program.
  void ExitBox();

  // Fits the row area to the window (size changes, and after the rows are built).
  void LayoutRowArea();
  // Scrolls the rows by one wheel notch (+1 away from the user).
  void ScrollByWheel(int direction);
  // Rows on screen and the bottom of the last one (set when the catalogue is built).
  void SetRows(int count, int rowsBottom);

 private:
  void OnCreated();
  bool OnClosing();
  void ApplyBrandProfile();
  void SwingBrandPicture();
  void DeleteLaunchArgument();
  void SearchBoxGotFocus();
  void SearchBoxLostFocus();
  std::string UnrarLibraryPath() const;

  BoxState& box_;
  std::unique_ptr<ui::Form> form_;
  BrandSwing swing_;
  ScrollPanel panel_;
  int rowCount_ = 0;
  int rowsBottom_ = 0;
};

// The search box's hint while it is empty and not focused.
inline constexpr const char* kSearchPlaceholder = "即输即搜(首拼通配)..";

}  // namespace tvk
