// Helpers shared by the POSIX parts of the host layer.
#pragma once

#include <span>
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

/// Writes the pieces, one after the other, into a fresh temporary file beside
/// path, flushes it and renames it over path. Answers 0 or the errno of the failed
/// step; on failure the temporary file is gone and path is untouched.
int ReplaceFileContent(const std::string& path, std::span<const std::string_view> pieces,
                       const TFileSystemOps& ops);
/// The same for content in one piece.
int ReplaceFileContent(const std::string& path, std::string_view content,
                       const TFileSystemOps& ops);

/// zor::WriteFileAtomically for content in pieces, written one after the other.
void WriteFileAtomically(const String& fileName, std::span<const std::string_view> pieces);

/// Reads a whole file; answers 0 or errno (ENOENT when it does not exist).
int ReadWholeFile(const std::string& path, std::string& content);

/// Creates a folder and its missing parents; answers 0 or errno.
int CreateFolders(const std::string& folder);

/// The folder part of a path ("." when it has none).
std::string FolderOf(const std::string& path);

}  // namespace zor::detail
