#include "inidb/component_stream.h"

#include <limits>

#include "inidb/base_component.h"

namespace {

bool IsIdentStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || IsDigit(c) || c == '.'; }

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

// --- TReader ---

TReader::TReader(std::string_view text) : Text(text) {}

void TReader::Fail(const std::string& what) const {
  throw EReadError("Line " + std::to_string(Line) + ": " + what);
}

void TReader::SkipBlanks() {
  while (Pos < Text.size()) {
    const char c = Text[Pos];
    if (c == '\n') {
      ++Line;
    } else if (c != ' ' && c != '\t' && c != '\r') {
      break;
    }
    ++Pos;
  }
}

TReader::TToken TReader::Peek() {
  if (!Peeked) {
    Kind = Next();
    Peeked = true;
  }
  return Kind;
}

TReader::TToken TReader::Next() {
  if (Peeked) {
    Peeked = false;
    return Kind;
  }
  SkipBlanks();
  TokenText.clear();
  if (Pos >= Text.size()) return Kind = TToken::End;
  const char c = Text[Pos];
  if (IsIdentStart(c)) {
    while (Pos < Text.size() && IsIdentChar(Text[Pos])) TokenText.push_back(Text[Pos++]);
    return Kind = TToken::Identifier;
  }
  if (IsDigit(c) || ((c == '-' || c == '+') && Pos + 1 < Text.size() && IsDigit(Text[Pos + 1]))) {
    const bool negative = c == '-';
    if (c == '-' || c == '+') ++Pos;
    std::int64_t value = 0;
    while (Pos < Text.size() && IsDigit(Text[Pos])) {
      value = value * 10 + (Text[Pos++] - '0');
      if (value > std::int64_t(std::numeric_limits<std::uint32_t>::max())) Fail("Number too large");
    }
    TokenInteger = negative ? -value : value;
    return Kind = TToken::Integer;
  }
  if (c == '\'' || c == '#') {
    // Quoted pieces and #nn characters, joined while they follow each other.
    while (Pos < Text.size() && (Text[Pos] == '\'' || Text[Pos] == '#')) {
      if (Text[Pos] == '#') {
        ++Pos;
        int code = 0, digits = 0;
        while (Pos < Text.size() && IsDigit(Text[Pos]) && digits < 3) {
          code = code * 10 + (Text[Pos++] - '0');
          ++digits;
        }
        if (digits == 0 || code > 255) Fail("Invalid character code");
        TokenText.push_back(static_cast<char>(code));
        continue;
      }
      ++Pos;
      for (;;) {
        if (Pos >= Text.size() || Text[Pos] == '\n' || Text[Pos] == '\r') {
          Fail("Unterminated string");
        }
        if (Text[Pos] == '\'') {
          if (Pos + 1 < Text.size() && Text[Pos + 1] == '\'') {
            TokenText.push_back('\'');
            Pos += 2;
            continue;
          }
          ++Pos;
          break;
        }
        TokenText.push_back(Text[Pos++]);
      }
    }
    return Kind = TToken::String;
  }
  if (c == '=' || c == ':' || c == '(' || c == ')') {
    TokenText.assign(1, c);
    ++Pos;
    return Kind = TToken::Symbol;
  }
  Fail(std::string("Invalid character '") + c + "'");
}

void TReader::ExpectSymbol(char symbol) {
  if (Next() != TToken::Symbol || TokenText[0] != symbol) {
    Fail(std::string("'") + symbol + "' expected");
  }
}

std::string TReader::ReadIdentifier() {
  if (Next() != TToken::Identifier) Fail("Identifier expected");
  return TokenText;
}

std::int32_t TReader::ReadInteger() {
  if (Next() != TToken::Integer) Fail("Integer expected");
  if (TokenInteger < std::numeric_limits<std::int32_t>::min() ||
      TokenInteger > std::numeric_limits<std::int32_t>::max()) {
    Fail("Number out of range");
  }
  return static_cast<std::int32_t>(TokenInteger);
}

bool TReader::ReadBoolean() {
  if (Next() == TToken::Identifier) {
    if (EqualsIgnoreCase(TokenText, "True")) return true;
    if (EqualsIgnoreCase(TokenText, "False")) return false;
  }
  Fail("True or False expected");
}

std::string TReader::ReadString() {
  if (Next() != TToken::String) Fail("String expected");
  return TokenText;
}

void TReader::ReadListBegin() { ExpectSymbol('('); }

bool TReader::EndOfList() { return Peek() == TToken::Symbol && TokenText == ")"; }

void TReader::ReadListEnd() { ExpectSymbol(')'); }

void TReader::DefineProperty(const std::string& name, const TReaderProc& readData,
                             const TWriterProc& /*writeData*/, bool /*hasData*/) {
  if (PropertyHandled || !EqualsIgnoreCase(name, CurrentProperty)) return;
  PropertyHandled = true;
  if (readData) readData(*this);
}

void TReader::ReadComponent(TBaseComponent& component) {
  if (!EqualsIgnoreCase(ReadIdentifier(), "object")) Fail("'object' expected");
  ReadIdentifier();  // the component's name
  ExpectSymbol(':');
  ReadIdentifier();  // its class
  for (;;) {
    const std::string name = ReadIdentifier();
    if (EqualsIgnoreCase(name, "end")) break;
    ExpectSymbol('=');
    if (component.ReadPublishedProperty(name, *this)) continue;
    CurrentProperty = name;
    PropertyHandled = false;
    component.DefineProperties(*this);
    if (!PropertyHandled) Fail("Property " + name + " does not exist");
  }
  if (Next() != TToken::End) Fail("Text after 'end'");
}

// --- TWriter ---

std::string TWriter::WriteComponent(TBaseComponent& component, const std::string& name,
                                    const std::string& className) {
  Out = "object " + name + ": " + className;
  component.WritePublishedProperties(*this);
  component.DefineProperties(*this);
  Out += "\nend\n";
  return std::move(Out);
}

void TWriter::WritePropertyName(const std::string& name) {
  Out += "\n  " + name + " =";
  ValuesOnLine = 0;
}

void TWriter::WriteValueSeparator() {
  if (ListDepth == 0 || ValuesOnLine > 0) Out += ' ';
  ++ValuesOnLine;
}

void TWriter::WriteInteger(std::int32_t value) {
  WriteValueSeparator();
  Out += std::to_string(value);
}

void TWriter::WriteBoolean(bool value) {
  WriteValueSeparator();
  Out += value ? "True" : "False";
}

void TWriter::WriteString(std::string_view value) {
  WriteValueSeparator();
  bool quoted = false;
  for (const char c : value) {
    const auto code = static_cast<unsigned char>(c);
    if (code < 32 || code == 127) {
      if (quoted) Out += '\'';
      quoted = false;
      Out += '#' + std::to_string(code);
      continue;
    }
    if (!quoted) Out += '\'';
    quoted = true;
    Out += c;
    if (c == '\'') Out += '\'';
  }
  if (quoted) {
    Out += '\'';
  } else if (value.empty()) {
    Out += "''";
  }
}

void TWriter::WriteListBegin() {
  WriteValueSeparator();
  Out += '(';
  ++ListDepth;
  ValuesOnLine = 0;
}

void TWriter::WriteListEnd() {
  Out += ')';
  --ListDepth;
  ValuesOnLine = 1;
}

void TWriter::DefineProperty(const std::string& name, const TReaderProc& /*readData*/,
                             const TWriterProc& writeData, bool hasData) {
  if (!hasData || !writeData) return;
  WritePropertyName(name);
  writeData(*this);
}

void LoadComponentConfig(TBaseComponent& component, std::string_view text) {
  TReader reader(text);
  component.BeginLoading();
  try {
    reader.ReadComponent(component);
  } catch (...) {
    component.Loaded();
    throw;
  }
  component.Loaded();
}

std::string SaveComponentConfig(TBaseComponent& component, const std::string& name,
                                const std::string& className) {
  return TWriter().WriteComponent(component, name, className);
}
