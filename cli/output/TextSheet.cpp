#include "output/TextSheet.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

#include "output/OutputError.h"
#include "output/StagedFiles.h"
#include "zordta/host/Text.h"

namespace zcli {

std::string SheetText(const zor::String& begleitzettel) {
  const std::string utf8 = zor::StringToUtf8(begleitzettel);
  std::string text;
  text.reserve(utf8.size() + 1);
  for (char c : utf8) {
    if (c != '\r') text += c;
  }
  if (text.empty() || text.back() != '\n') text += '\n';
  return text;
}

void WriteTextSheet(const std::string& file, const std::string& shownAs,
                    const zor::String& begleitzettel) {
  const std::string text = SheetText(begleitzettel);
  const int fd = ::open(file.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  int error = fd < 0 ? errno : 0;
  for (std::string_view rest = text; error == 0 && !rest.empty();) {
    const ssize_t written = ::write(fd, rest.data(), rest.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      error = written < 0 ? errno : EIO;
      break;
    }
    rest.remove_prefix(static_cast<std::size_t>(written));
  }
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (fd >= 0 && ::close(fd) != 0 && error == 0) error = errno;
  if (error != 0) {
    throw CannotWrite("Der Begleitzettel " + shownAs, error);
  }
}

}  // namespace zcli
