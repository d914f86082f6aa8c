#include "util/Shortcut.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "util/Text.h"
#include "util/ScopedCom_win.h"
#include "util/WideText_win.h"

namespace tvk {

namespace {

// Owns one reference to a COM interface. Declare it after the apartment so it
// is released before the apartment is left.
template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() { reset(); }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;

  T* get() const { return ptr_; }
  T* operator->() const { return ptr_; }
  explicit operator bool() const { return ptr_ != nullptr; }
  void** out() {
    reset();
    return reinterpret_cast<void**>(&ptr_);
  }
  void reset() {
    if (ptr_) ptr_->Release();
    ptr_ = nullptr;
  }

 private:
  T* ptr_ = nullptr;
};

// A new shell link object and its file interface; both empty on failure.
struct ShellLink {
  ComRef<IShellLinkW> link;
  ComRef<IPersistFile> file;

  bool Create() {
    return SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.out())) &&
           link && SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.out())) && file;
  }
};

bool EndsWithLnk(std::string_view path) {
  if (path.size() < 4) return false;
  std::string_view tail = path.substr(path.size() - 4);
  const char kLnk[] = ".lnk";
  for (size_t i = 0; i < 4; ++i) {
    char ch = tail[i];
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    if (ch != kLnk[i]) return false;
  }
  return true;
}

bool IsWholeInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
  if (i == digits) return false;
  while (i < text.size() && text[i] == ' ') ++i;
  return i == text.size();
}

// "file,index" split at the last comma when an integer follows it; otherwise
// the whole text is the file and the index is 0. ("," is never a GBK trail byte.)
void SetIcon(IShellLinkW* link, std::string_view location) {
  size_t comma = location.rfind(',');
  if (comma != std::string_view::npos && IsWholeInteger(location.substr(comma + 1))) {
    int index = TruncateToInt(ParseNumber(location.substr(comma + 1)));
    link->SetIconLocation(Widen(location.substr(0, comma)).c_str(), index);
  } else {
    link->SetIconLocation(Widen(location).c_str(), 0);
  }
}

struct FolderKind {
  int kind;
  int csidl;
};

constexpr FolderKind kShellFolders[] = {
    {kFolderDocuments, CSIDL_PERSONAL},      {kFolderFavourites, CSIDL_FAVORITES},
    {kFolderDesktop, CSIDL_DESKTOPDIRECTORY}, {kFolderFonts, CSIDL_FONTS},
    {kFolderStartMenu, CSIDL_STARTMENU},     {kFolderPrograms, CSIDL_PROGRAMS},
    {kFolderStartup, CSIDL_STARTUP},         {kFolderAppData, CSIDL_APPDATA},
    {kFolderInternetCache, CSIDL_INTERNET_CACHE},
};

}  // namespace

std::string ReadShortcutTarget(std::string_view path) {
  if (path.find(".lnk") == std::string_view::npos) return {};
  ScopedComApartment apartment;
  if (!apartment.usable()) return {};
  ShellLink shortcut;
  if (!shortcut.Create()) return {};
  if (FAILED(shortcut.file->Load(Widen(path).c_str(), STGM_READ))) return {};
  wchar_t target[MAX_PATH + 1] = {};
  if (FAILED(shortcut.link->GetPath(target, MAX_PATH + 1, nullptr, 0))) return {};
  return Narrow(target);
}

void WriteShortcut(std::string_view path, std::string_view target, const ShortcutOptions& options) {
  std::string file(path);
  if (!EndsWithLnk(file)) file += ".lnk";
  ScopedComApartment apartment;
  if (!apartment.usable()) return;
  ShellLink shortcut;
  if (!shortcut.Create()) return;
  IShellLinkW* link = shortcut.link.get();
  link->SetPath(Widen(target).c_str());
  if (options.description) link->SetDescription(Widen(*options.description).c_str());
  if (options.hotKey) link->SetHotkey(static_cast<WORD>(*options.hotKey));
  if (options.iconLocation) SetIcon(link, *options.iconLocation);
  if (options.windowStyle) link->SetShowCmd(*options.windowStyle);
  if (options.workingDirectory) link->SetWorkingDirectory(Widen(*options.workingDirectory).c_str());
  if (options.arguments) link->SetArguments(Widen(*options.arguments).c_str());
  shortcut.file->Save(Widen(file).c_str(), TRUE);
}

std::string SpecialFolderPath(int kind) {
  if (kind == kFolderDefault) kind = kFolderDesktop;
  wchar_t folder[MAX_PATH + 1] = {};
  bool found = false;
  if (kind == kFolderWindows) {
    UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
    found = length > 0 && length < MAX_PATH;
  } else if (kind == kFolderSystem) {
    UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    found = length > 0 && length < MAX_PATH;
  } else if (kind == kFolderTemp) {
    DWORD length = GetTempPathW(MAX_PATH, folder);
    found = length > 0 && length < MAX_PATH;
  } else {
    for (const FolderKind& entry : kShellFolders)
      if (entry.kind == kind) found = SHGetSpecialFolderPathW(nullptr, folder, entry.csidl, FALSE);
  }
  if (!found || folder[0] == L'\0') return {};
  std::wstring text(folder);
  // Checked on the UTF-16 text: in GBK a final 0x5C byte may be a trail byte.
  if (text.back() != L'\\') text += L'\\';
  return Narrow(text);
}

}  // namespace tvk
