#include "output/StandardOutput.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "output/OutputError.h"

namespace zcli {

namespace {

std::string FailureText(int error) {
  return std::string("Die Ausgabe kann nicht geschrieben werden") +
         (error != 0 ? std::string(": ") + std::strerror(error) : std::string()) + ".";
}

}  // namespace

bool FlushStandardOutput() {
  static bool reported = false;
  errno = 0;
  std::cout.flush();
  if (std::cout && std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
  const int error = errno;
  if (!reported) std::cerr << "Fehler: " << FailureText(error) << '\n';
  reported = true;
  return false;
}

void CheckStandardOutput() {
  if (std::cout && !std::ferror(stdout)) return;
  const int error = errno;
  throw OutputError(FailureText(error));
}

}  // namespace zcli
