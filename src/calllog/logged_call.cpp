#include "calllog/logged_call.h"

#include <array>
#include <utility>

namespace {

template <typename E, std::size_t N>
QString WordOf(const std::array<std::pair<E, const char*>, N>& table, E value) {
  for (const auto& [known, word] : table) {
    if (known == value) return QString::fromLatin1(word);
  }
  return QString::fromLatin1(table.front().second);
}

template <typename E, std::size_t N>
E ValueOf(const std::array<std::pair<E, const char*>, N>& table, const QString& word) {
  for (const auto& [known, text] : table) {
    if (word == QLatin1String(text)) return known;
  }
  return table.front().first;
}

constexpr std::array<std::pair<TCallEnding, const char*>, 3> kEndings{{
    {TCallEnding::kUnknown, "unknown"},
    {TCallEnding::kAnswered, "answered"},
    {TCallEnding::kMissed, "missed"},
}};

constexpr std::array<std::pair<TCallMode, const char*>, 2> kModes{{
    {TCallMode::kActive, "active"},
    {TCallMode::kPassive, "passive"},
}};

constexpr std::array<std::pair<TForwardingKind, const char*>, 6> kForwardings{{
    {TForwardingKind::kNone, ""},
    {TForwardingKind::kDBusSent, "dbus-sent"},
    {TForwardingKind::kNotOpen, "not-open"},
    {TForwardingKind::kProgramStarted, "program-started"},
    {TForwardingKind::kStartError, "start-error"},
    {TForwardingKind::kScriptExit, "script-exit"},
}};

}  // namespace

QString StoredWord(TCallEnding ending) { return WordOf(kEndings, ending); }
QString StoredWord(TCallMode mode) { return WordOf(kModes, mode); }
QString StoredWord(TForwardingKind kind) { return WordOf(kForwardings, kind); }
TCallEnding EndingFromWord(const QString& word) { return ValueOf(kEndings, word); }
TCallMode ModeFromWord(const QString& word) { return ValueOf(kModes, word); }
TForwardingKind ForwardingFromWord(const QString& word) { return ValueOf(kForwardings, word); }
