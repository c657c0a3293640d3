#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

class TBaseComponent;
class TReader;
class TWriter;

// A component's stored configuration is a small text:
//
//   object DB: TIniDBase
//     FileName = 'DATABASE.INI'
//     SortedIndex = True
//     FakeProperty = (
//       20 True 'CallerName'
//       20 True 'CallerID')
//   end
//
// Values are integers, True/False, quoted texts ('' stands for one quote,
// #13 for a character by number, adjacent pieces join) and lists in
// parentheses.

// A malformed configuration text or an unknown property.
class EReadError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

// What reader and writer have in common: a component names its extra
// properties to either through DefineProperty.
class TFiler {
 public:
  using TReaderProc = std::function<void(TReader&)>;
  using TWriterProc = std::function<void(TWriter&)>;

  virtual ~TFiler() = default;
  virtual void DefineProperty(const std::string& name, const TReaderProc& readData,
                              const TWriterProc& writeData, bool hasData) = 0;
};

class TReader : public TFiler {
 public:
  explicit TReader(std::string_view text);

  // Applies the whole configuration to `component`, which is in its loading
  // state meanwhile. Throws EReadError on malformed text.
  void ReadComponent(TBaseComponent& component);

  std::int32_t ReadInteger();
  bool ReadBoolean();
  std::string ReadString();
  void ReadListBegin();
  // True when the next token closes the current list.
  bool EndOfList();
  void ReadListEnd();

  void DefineProperty(const std::string& name, const TReaderProc& readData,
                      const TWriterProc& writeData, bool hasData) override;

 private:
  enum class TToken { End, Identifier, Integer, String, Symbol };
  TToken Next();
  TToken Peek();
  [[noreturn]] void Fail(const std::string& what) const;
  void SkipBlanks();
  void ExpectSymbol(char symbol);
  std::string ReadIdentifier();

  std::string_view Text;
  std::size_t Pos = 0;
  int Line = 1;
  TToken Kind = TToken::End;
  std::string TokenText;
  std::int64_t TokenInteger = 0;
  bool Peeked = false;
  std::string CurrentProperty;
  bool PropertyHandled = false;
};

class TWriter : public TFiler {
 public:
  // Writes `component`'s configuration as `object Name: ClassName ... end`.
  std::string WriteComponent(TBaseComponent& component, const std::string& name,
                             const std::string& className);

  void WritePropertyName(const std::string& name);
  void WriteInteger(std::int32_t value);
  void WriteBoolean(bool value);
  void WriteString(std::string_view value);
  void WriteListBegin();
  void WriteListEnd();

  void DefineProperty(const std::string& name, const TReaderProc& readData,
                      const TWriterProc& writeData, bool hasData) override;

 private:
  void WriteValueSeparator();
  std::string Out;
  int ListDepth = 0;
  int ValuesOnLine = 0;
};

// Loads `text` into `component` (loading state set meanwhile, Loaded()
// afterwards, also when reading fails).
void LoadComponentConfig(TBaseComponent& component, std::string_view text);

// The configuration text of `component`.
std::string SaveComponentConfig(TBaseComponent& component, const std::string& name,
                                const std::string& className);
