#include "shell/TrayIcon.h"

#include "util/Gbk.h"
#include "util/UiHooks.h"

namespace tvk {

std::string TrayTipText(std::string_view applicationName, std::string_view brandInUse) {
  std::string tip(applicationName);
  tip += "\r\n为";
  tip += brandInUse;
  tip += "软件旗下数十款软件提供下载、升级服务";
  return tip;
}

std::string_view CutTrayTip(std::string_view tip) { return GbkPrefix(tip, kTrayTipMaxBytes); }

std::string ExitQuestion(std::string_view brandInUse) {
  std::string question = "确实要退出《";
  question += brandInUse;
  question += "·软件盒子》吗？";
  return question;
}

void HandleTrayMouse(unsigned mouseMessage, std::string_view brandInUse, const TrayMouseActions& actions) {
  if (mouseMessage == kTrayLeftButtonDown) {
    if (actions.toggleVisibility && actions.toggleVisibility() && actions.bringToFront) actions.bringToFront();
  } else if (mouseMessage == kTrayRightButtonUp) {
    if (ShowMessageBox(ExitQuestion(brandInUse), "", kExitQuestionButtons) == kExitAnswerOk && actions.exitBox)
      actions.exitBox();
  }
}

}  // namespace tvk
