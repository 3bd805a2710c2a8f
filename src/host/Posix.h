// Helpers shared by the POSIX parts of the host layer.
#pragma once

#include <string>
#include <string_view>

#include "zordta/host/FileSystem.h"

namespace zor::detail {

/// The system's text for an errno value (thread-safe).
std::string ErrorText(int error);

/// The installed file operations, with the system calls filled in for empty members.
TFileSystemOps CurrentFileSystemOps();
/// The system calls themselves, for writers that must not see test replacements.
TFileSystemOps SystemFileSystemOps();

/// Writes content into a fresh temporary file beside path, flushes it and renames
/// it over path. Answers 0 or the errno of the failed step; on failure the
/// temporary file is gone and path is untouched.
int ReplaceFileContent(const std::string& path, std::string_view content,
                       const TFileSystemOps& ops);

/// Reads a whole file; answers 0 or errno (ENOENT when it does not exist).
int ReadWholeFile(const std::string& path, std::string& content);

/// Creates a folder and its missing parents; answers 0 or errno.
int CreateFolders(const std::string& folder);

/// The folder part of a path ("." when it has none).
std::string FolderOf(const std::string& path);

}  // namespace zor::detail
