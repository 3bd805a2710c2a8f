#include "output/StandardOutput.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <iostream>

#include "io/FileBytes.h"
#include "output/OutputError.h"

namespace zcli {

namespace {

const StandardOutputBuffer* gInstalled = nullptr;

// Why standard output failed: the installed buffer knows; without one, errno
// may still tell.
int Reason(int error) {
  return gInstalled != nullptr && gInstalled->Error() != 0 ? gInstalled->Error() : error;
}

std::string FailureText(int error) {
  return std::string("Die Ausgabe kann nicht geschrieben werden") +
         (error != 0 ? ": " + SystemReason(error) : std::string()) + ".";
}

}  // namespace

StandardOutputBuffer::StandardOutputBuffer() : fSaved(std::cout.rdbuf(this)) {
  setp(fData, fData + kSize);
  gInstalled = this;
}

StandardOutputBuffer::~StandardOutputBuffer() {
  Drain();
  std::cout.rdbuf(fSaved);
  gInstalled = nullptr;
}

StandardOutputBuffer::int_type StandardOutputBuffer::overflow(int_type c) {
  if (!Drain()) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

int StandardOutputBuffer::sync() {
  return Drain() ? 0 : -1;
}

bool StandardOutputBuffer::Drain() {
  const char* at = pbase();
  while (fError == 0 && at < pptr()) {
    const ssize_t written = ::write(STDOUT_FILENO, at, static_cast<std::size_t>(pptr() - at));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      fError = written < 0 ? errno : EIO;
      break;
    }
    at += written;
  }
  // What could not be written is dropped: the run reports the failure.
  setp(fData, fData + kSize);
  return fError == 0;
}

bool FlushStandardOutput() {
  static bool reported = false;
  errno = 0;
  std::cout.flush();
  if (std::cout && std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
  const int error = Reason(errno);
  if (!reported) std::cerr << "Fehler: " << FailureText(error) << '\n';
  reported = true;
  return false;
}

void CheckStandardOutput() {
  if (std::cout && !std::ferror(stdout)) return;
  throw OutputError(FailureText(Reason(errno)));
}

}  // namespace zcli
