// Whole-file reads and writes and a few folder operations. Paths are code page
// 936 text; "\" and "/" both separate folders on every platform.
#pragma once

#include <string>
#include <string_view>

namespace tvk {

// All bytes of the file; empty when it is missing or unreadable. Other
// processes may hold the file open for writing meanwhile.
std::string ReadFileBytes(std::string_view path);

// Replaces the file's content with `bytes` (creating it). Returns false on failure.
bool WriteFileBytes(std::string_view path, std::string_view bytes);

bool FileExists(std::string_view path);
bool FolderExists(std::string_view path);

// Creates one folder (its parent must exist). Returns true when it exists afterwards.
bool CreateFolder(std::string_view path);

// Deletes a file. Returns false when it could not be deleted (or did not exist).
bool DeleteFileAt(std::string_view path);

}  // namespace tvk
