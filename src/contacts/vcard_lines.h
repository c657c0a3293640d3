#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <utility>
#include <vector>

namespace contacts {

// One property of a card as written, e.g. "item1.TEL;TYPE=CELL:+1 555 0101":
// folding undone, the value not yet decoded.
struct TContentLine {
  int LineNumber = 0;  // 1-based number of its first line in the file
  bool Valid = false;  // false for a line with no ":" or no name
  QByteArray Name;     // upper case, group removed: "TEL"
  // Parameter names in upper case, values unquoted. A vCard 2.1 parameter
  // written without a name ("TEL;HOME;VOICE") has an empty name.
  std::vector<std::pair<QByteArray, QByteArray>> Params;
  QByteArray Value;

  // The value of the first parameter `name` (upper case), "" when absent.
  QByteArray Param(QByteArrayView name) const;
  // The transfer encoding in upper case ("QUOTED-PRINTABLE", "BASE64",
  // "B"), also when written as a bare 2.1 parameter; "" when none.
  QByteArray Encoding() const;
  bool IsQuotedPrintable() const;
  bool IsBase64() const;
};

// Splits a vCard file into its properties. Lines may end in CR LF, LF or CR.
// A line starting with a blank continues the one before it; so does the line
// after a quoted-printable value ending in "=", and, in a vCard 2.1 base64
// value, every following line up to an empty one or the next property.
class TContentLineReader {
 public:
  explicit TContentLineReader(QByteArray data);

  // The next property; false at the end of the data.
  bool Next(TContentLine& line);
  // Bytes consumed so far, for progress.
  qsizetype Position() const { return pos_; }

 private:
  bool NextPhysicalLine(QByteArrayView& text);
  bool PeekPhysicalLine(QByteArrayView& text) const;

  QByteArray data_;
  qsizetype pos_ = 0;
  int lineNumber_ = 0;
};

// Parses one logical line: name, parameters and value.
TContentLine ParseContentLine(QByteArrayView text, int lineNumber);

}  // namespace contacts
