#include <sys/stat.h>

#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"

namespace zor {

String ExtractFileDrive(const String& fileName) {
  const auto isLetter = [](Char c) {
    return (c >= Char('A') && c <= Char('Z')) || (c >= Char('a') && c <= Char('z'));
  };
  if (fileName.size() >= 2 && isLetter(fileName[0]) && fileName[1] == Char(':')) {
    return fileName.substr(0, 2);
  }
  if (fileName.size() >= 2 && fileName[0] == Char('\\') && fileName[1] == Char('\\')) {
    // "\\server\share": up to the backslash after the share, or the whole name.
    const std::size_t shareStart = fileName.find(Char('\\'), 2);
    const std::size_t end =
        shareStart == String::npos ? String::npos : fileName.find(Char('\\'), shareStart + 1);
    String drive = fileName.substr(0, end);
    if (drive.size() > 2 && drive.back() == Char('\\')) drive.pop_back();
    return drive;
  }
  return String();
}

bool FileExists(const String& fileName) {
  struct stat info {};
  return !fileName.empty() && ::stat(StringToUtf8(fileName).c_str(), &info) == 0 &&
         S_ISREG(info.st_mode);
}

}  // namespace zor
