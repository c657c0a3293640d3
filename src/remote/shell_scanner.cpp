#include "remote/shell_scanner.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Bytes that end a word in code (besides blanks and line ends).
bool IsOperatorByte(char c) {
  return c == ';' || c == '&' || c == '|' || c == '<' || c == '>' || c == '(' || c == ')';
}

}  // namespace

void TShellScanner::Feed(std::string_view text) {
  for (char c : text) Feed(c);
}

void TShellScanner::Feed(char c) {
  if (c == '\n' && afterCR_) {  // the LF of a CR LF: the line already ended
    afterCR_ = false;
    return;
  }
  afterCR_ = c == '\r';
  const bool lineBreak = c == '\n' || c == '\r';

  if (inDoc_) {
    if (lineBreak && LineWouldEndHereDoc()) {
      EndHereDoc();
      return;
    }
    if (lineBreak) docLine_.clear();
    else docLine_ += c;
    if (doc_.quoted) return;
  }
  if (endWord_.active && FeedEndWord(c, lineBreak)) return;
  FeedFrame(c, lineBreak);
}

TShellPlace TShellScanner::Place() const {
  if (inDoc_ && doc_.quoted) return TShellPlace::LiteralHereDoc;
  if (endWord_.active && endWord_.started) {
    if (endWord_.quote == '\'') return TShellPlace::SingleQuoted;
    if (endWord_.quote == '"') return TShellPlace::DoubleQuoted;
    return TShellPlace::Code;
  }
  switch (Top()) {
    case Frame::DoubleQuote:
    case Frame::QuotedBrace:
    case Frame::HereDocBody:
    case Frame::Arith: return TShellPlace::DoubleQuoted;
    case Frame::SingleQuote: return TShellPlace::SingleQuoted;
    case Frame::Comment: return TShellPlace::Comment;
    default: return TShellPlace::Code;
  }
}

bool TShellScanner::EscapePending() const {
  return endWord_.active ? endWord_.escaped : escaped_;
}

bool TShellScanner::LineWouldEndHereDoc() const {
  if (!inDoc_) return false;
  std::string_view line = docLine_;
  if (doc_.stripTabs) {
    while (!line.empty() && line.front() == '\t') line.remove_prefix(1);
  }
  return line == doc_.endWord;
}

void TShellScanner::Push(Frame kind, int depth) { frames_.push_back({kind, depth, true}); }

bool TShellScanner::InQuotedFrame() const {
  switch (Top()) {
    case Frame::DoubleQuote:
    case Frame::QuotedBrace:
    case Frame::HereDocBody:
    case Frame::Arith: return true;
    default: return false;
  }
}

void TShellScanner::FeedFrame(char c, bool lineBreak) {
  switch (Top()) {
    case Frame::SingleQuote:
      if (c == '\'') Pop();
      return;
    case Frame::Comment:
      if (!lineBreak) return;
      Pop();
      FeedFrame(c, lineBreak);  // the line end still ends a command line
      return;
    default:
      if (InQuotedFrame()) FeedQuoted(c);
      else FeedCode(c, lineBreak);
  }
}

// After a "$": "(" opens a command substitution (or arithmetic, with a
// second "("), "{" a parameter expansion.
bool TShellScanner::FeedExpansionStart(char c) {
  if (c == '(') {
    Push(Frame::Subst);
    return true;
  }
  if (c == '{') {
    Push(InQuotedFrame() ? Frame::QuotedBrace : Frame::Brace);
    return true;
  }
  return false;
}

void TShellScanner::FeedCode(char c, bool lineBreak) {
  if (escaped_) {  // a quoted byte, or a line continuation that joins two lines
    escaped_ = false;
    if (!lineBreak) wordStart_ = false;
    less_ = false;
    return;
  }
  const bool wasDollar = dollar_;
  dollar_ = false;
  if (wasDollar && FeedExpansionStart(c)) {
    wordStart_ = less_ = false;
    return;
  }
  if (Top() == Frame::Subst && frames_.back().fresh) {
    frames_.back().fresh = false;
    if (c == '(') {  // "$((": arithmetic, closed by "))"
      frames_.back().kind = Frame::Arith;
      frames_.back().depth = 2;
      return;
    }
  }
  const bool inBrace = Top() == Frame::Brace;
  const bool wasLess = less_;
  const bool startsWord = wordStart_;
  less_ = false;
  wordStart_ = lineBreak || IsBlank(c) || IsOperatorByte(c);
  if (lineBreak) {
    if (!inBrace && !inDoc_ && !pendingDocs_.empty()) StartNextHereDoc();
    return;
  }
  switch (c) {
    case '\\': escaped_ = true; return;
    case '\'': Push(Frame::SingleQuote); return;
    case '"': Push(Frame::DoubleQuote); return;
    case '$': dollar_ = true; return;
    case '`':
      if (Top() == Frame::Backquote) Pop();
      else Push(Frame::Backquote);
      return;
    case '#':
      if (startsWord && !inBrace) Push(Frame::Comment);
      return;
    case '}':
      if (inBrace) Pop();
      return;
    case '<':
      if (inBrace) return;
      if (wasLess && !inDoc_) {
        endWord_ = TEndWord{};
        endWord_.active = true;
      } else {
        less_ = true;
      }
      return;
    case '(':
      if (Top() == Frame::Subst) ++frames_.back().depth;
      return;
    case ')':
      if (Top() == Frame::Subst) {
        if (frames_.back().depth == 0) Pop();
        else --frames_.back().depth;
      }
      return;
    default: return;
  }
}

// Inside double quotes (and the places that read like them) only "$", "`"
// and "\" are special, and the byte that closes the place.
void TShellScanner::FeedQuoted(char c) {
  if (escaped_) {
    escaped_ = false;
    return;
  }
  const bool wasDollar = dollar_;
  dollar_ = false;
  if (wasDollar && FeedExpansionStart(c)) return;
  const Frame top = Top();
  switch (c) {
    case '\\': escaped_ = true; return;
    case '$': dollar_ = true; return;
    case '`': Push(Frame::Backquote); return;
    case '"':
      if (top == Frame::DoubleQuote) Pop();
      else if (top == Frame::QuotedBrace) Push(Frame::DoubleQuote);
      return;
    case '}':
      if (top == Frame::QuotedBrace) Pop();
      return;
    case '(':
      if (top == Frame::Arith) ++frames_.back().depth;
      return;
    case ')':
      if (top == Frame::Arith && --frames_.back().depth == 0) Pop();
      return;
    default: return;
  }
}

// Reads the end word after "<<" (or "<<-"). Returns false when the byte is
// not part of it and belongs to the code.
bool TShellScanner::FeedEndWord(char c, bool lineBreak) {
  TEndWord& w = endWord_;
  if (!w.started) {
    const bool first = !w.pastOperator;
    w.pastOperator = true;
    if (first && c == '-') {
      w.doc.stripTabs = true;
      return true;
    }
    if (first && c == '<') {  // "<<<" is no here-document
      w = TEndWord{};
      return false;
    }
    if (IsBlank(c)) return true;
    if (lineBreak || IsOperatorByte(c)) {  // no word: not a here-document the shell accepts
      w = TEndWord{};
      return false;
    }
    w.started = true;
  }
  std::string& word = w.doc.endWord;
  if (w.quote == '\'') {
    if (c == '\'') w.quote = 0;
    else word += c;
    return true;
  }
  if (w.escaped) {
    w.escaped = false;
    if (lineBreak) return true;  // a line continuation
    // Inside double quotes a backslash quotes only these; before any
    // other byte it stays.
    if (w.quote == '"' && c != '$' && c != '`' && c != '"' && c != '\\') word += '\\';
    word += c;
    return true;
  }
  if (c == '\\') {
    w.escaped = true;
    w.doc.quoted = true;
    return true;
  }
  if (w.quote == '"') {
    if (c == '"') w.quote = 0;
    else word += c;
    return true;
  }
  if (c == '\'' || c == '"') {
    w.quote = c;
    w.doc.quoted = true;
    return true;
  }
  // $( ), ${ } and ` ` are part of the word, blanks inside them included.
  const bool wasDollar = !word.empty() && word.back() == '$';
  if ((c == '(' || c == '{') && (wasDollar || w.nesting > 0)) ++w.nesting;
  else if ((c == ')' || c == '}') && w.nesting > 0) --w.nesting;
  else if (c == '`') w.inBackquote = !w.inBackquote;
  else if (w.nesting == 0 && !w.inBackquote && (lineBreak || IsBlank(c) || IsOperatorByte(c))) {
    pendingDocs_.push_back(w.doc);
    w = TEndWord{};
    return false;
  }
  word += c;
  return true;
}

void TShellScanner::StartNextHereDoc() {
  doc_ = pendingDocs_.front();
  pendingDocs_.pop_front();
  inDoc_ = true;
  docLine_.clear();
  docBase_ = frames_.size();
  escaped_ = dollar_ = false;
  if (!doc_.quoted) Push(Frame::HereDocBody);
}

void TShellScanner::EndHereDoc() {
  frames_.resize(docBase_);
  inDoc_ = false;
  docLine_.clear();
  escaped_ = dollar_ = less_ = false;
  wordStart_ = true;
  if (!pendingDocs_.empty()) StartNextHereDoc();
}
