#include "inidb/db_key.h"

#include "inidb/caller_record.h"

TDBKeyStr::TDBKeyStr(const std::string& text) : Text(CutText(text, MaxLength)) {}
TDBKeyStr::TDBKeyStr(std::string_view text) : Text(CutText(text, MaxLength)) {}
TDBKeyStr::TDBKeyStr(const char* text)
    : Text(CutText(text ? std::string_view(text) : std::string_view(), MaxLength)) {}
