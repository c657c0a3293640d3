#include "remote/start_failure.h"

#include <cerrno>

#include "translatable.h"

std::string StartFailureReason(int errorNumber) {
  switch (errorNumber) {
    case ENOENT: return TRANSLATABLE_TEXT("StartFailure", "Path or file name not found");
    case ENOMEM: return TRANSLATABLE_TEXT("StartFailure", "Not enough memory");
    case EINVAL: return TRANSLATABLE_TEXT("StartFailure", "Invalid argument");
    case E2BIG: return TRANSLATABLE_TEXT("StartFailure", "Arg list too long");
    case ENOEXEC: return TRANSLATABLE_TEXT("StartFailure", "Exec format error");
    default: return {};
  }
}
