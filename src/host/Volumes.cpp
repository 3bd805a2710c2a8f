#include "zordta/host/Volumes.h"

#include <dirent.h>
#include <sys/stat.h>

#include <mutex>
#include <string>
#include <utility>

#include "zordta/host/Text.h"

namespace zor {
namespace {

// Function-local, so that loading the library runs no constructor.
std::mutex& SourceMutex() {
  static std::mutex mutex;
  return mutex;
}
TVolumeLabelSource& InstalledSource() {
  static TVolumeLabelSource source;
  return source;
}

constexpr const char* kLabelFolder = "/dev/disk/by-label";

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// udev writes blanks, slashes and other unsafe bytes of a label as \xHH.
std::string DecodeLabel(const std::string& name) {
  std::string label;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' &&
        HexDigit(name[i + 2]) >= 0 && HexDigit(name[i + 3]) >= 0) {
      label += static_cast<char>(HexDigit(name[i + 2]) * 16 + HexDigit(name[i + 3]));
      i += 3;
    } else {
      label += name[i];
    }
  }
  return label;
}

String SystemVolumeLabel(const String& root) {
  struct stat rootInfo {};
  const std::string path = root.empty() ? std::string(".") : StringToUtf8(root);
  if (::stat(path.c_str(), &rootInfo) != 0) return String();

  DIR* folder = ::opendir(kLabelFolder);
  if (!folder) return String();
  String label;
  while (const dirent* entry = ::readdir(folder)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat device {};
    const std::string link = std::string(kLabelFolder) + "/" + name;
    if (::stat(link.c_str(), &device) == 0 && S_ISBLK(device.st_mode) &&
        device.st_rdev == rootInfo.st_dev) {
      label = StringFromUtf8(DecodeLabel(name));
      break;
    }
  }
  ::closedir(folder);
  return label;
}

}  // namespace

void SetVolumeLabelSource(TVolumeLabelSource source) {
  std::lock_guard<std::mutex> lock(SourceMutex());
  InstalledSource() = std::move(source);
}

bool GetVolumeInformation(const String& root, String& volumeName) {
  TVolumeLabelSource source;
  {
    std::lock_guard<std::mutex> lock(SourceMutex());
    source = InstalledSource();
  }
  volumeName = source ? source(root) : SystemVolumeLabel(root);
  return !volumeName.empty();
}

bool SetVolumeLabel(const String&, const String&) {
  return false;
}

}  // namespace zor
