#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace platform {

// The text of the settings file, read and edited the way a person expects
// of a hand-kept INI file: an edit changes the one line of the value it
// sets (or adds one line), and every other byte stays as it was, comments,
// blank lines, line ends and unknown entries included.
//
// The syntax is the one QSettings writes in INI format, so files written by
// earlier versions and by QSettings-based tools read the same, and what is
// written here reads back through QSettings: "%XX" and "%UXXXX" in section
// and key names, "\" between nested key names ("[DDESetup]" holding
// "My%20App\Type=DDE"), "\n"-style escapes and double quotes in values.
// Unlike QSettings, ";" and "," inside a value are plain characters: a
// hand-written "ExtraLines=/dev/a;/dev/b" is one value. Only a line whose
// first character is ";" or "#" is a comment.
//
// A key path names a key with "/" between its parts ("DDESetup/My App");
// parts and value names compare without regard to case.
class TSettingsDocument {
 public:
  explicit TSettingsDocument(const QByteArray& content = QByteArray());

  QByteArray Content() const;

  // The value `name` under `keyPath`; nothing when absent.
  std::optional<QString> Value(const QString& keyPath, const QString& name) const;
  // Sets the value, keeping the spelling already in the file. Returns
  // whether the text changed (not when the value was already `value`).
  bool SetValue(const QString& keyPath, const QString& name, const QString& value);
  // The names of the keys directly below `keyPath` that hold values, each
  // once, in the spelling first met in the file.
  QStringList Subkeys(const QString& keyPath) const;
  // Removes every value below `keyPath` and every section at or below it.
  // Returns whether the text changed.
  bool RemoveKey(const QString& keyPath);

 private:
  enum class TKind { kBlank, kComment, kSection, kEntry, kOther };
  struct TLine {
    QByteArray text;  // without its line end
    QByteArray end;   // "\n", "\r\n", "\r" or "" (last line)
    TKind kind = TKind::kBlank;
    QStringList path;      // section: its key path; entry: the full path of the value
    qsizetype valueAt = 0;  // entry: where the value's text begins
  };

  static TLine ParseLine(const QByteArray& text, const QByteArray& end, const QStringList& section);
  void Parse(const QByteArray& content);
  // Line of the first entry whose path is `path`, or -1.
  qsizetype FindEntry(const QStringList& path) const;
  // Inserts a value line for `path`; the value is already encoded.
  void InsertEntry(const QStringList& path, const QByteArray& encodedValue);
  QByteArray LineEnd() const;
  void Reparse();

  std::vector<TLine> lines_;
};

// The value and name spelling of the settings file, apart for tests.
namespace settings_syntax {
QString DecodeValue(const QByteArray& raw);
QByteArray EncodeValue(const QString& value);
// A section or key name: "%XX"/"%UXXXX" decoded, "\" read as "/".
QStringList DecodeKey(const QByteArray& raw);
QByteArray EncodeKey(const QStringList& parts);
}  // namespace settings_syntax

}  // namespace platform
