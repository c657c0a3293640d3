#include "remote/start_failure.h"

#include <cerrno>

std::string StartFailureReason(int errorNumber) {
  switch (errorNumber) {
    case ENOENT: return "Path or file name not found";
    case ENOMEM: return "Not enough memory";
    case EINVAL: return "Invalid argument";
    case E2BIG: return "Arg list too long";
    case ENOEXEC: return "Exec format error";
    default: return {};
  }
}
