#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

// Follows a POSIX shell script byte by byte, as `sh` will read it, far enough
// to say how a value written at the current place would be taken: as code,
// inside double or single quotes, in a comment, or in the body of a
// here-document. Script placeholders are expanded with its help, so that a
// caller's name always reaches the shell as data.
//
// Line ends may be LF, CR LF or a lone CR (the script is written with LF).

// Where the next byte of a script stands.
enum class TShellPlace {
  Code,            // unquoted: words are split, globbed and parsed
  DoubleQuoted,    // "...", ${...} inside quotes, $((...)), an unquoted-word here-document
  SingleQuoted,    // '...': nothing is special but the closing quote
  Comment,         // from "#" to the line end
  LiteralHereDoc,  // body of a here-document whose end word is quoted: nothing is expanded
};

class TShellScanner {
 public:
  void Feed(std::string_view text);
  void Feed(char c);

  TShellPlace Place() const;

  // The last byte was a backslash that quotes the next one.
  bool EscapePending() const;

  // The last byte was a "$" that begins an expansion ("$@", "$1", "${", ...).
  bool AfterDollar() const { return dollar_; }

  // In a here-document body: the current line, were it ended now, would end
  // the body.
  bool LineWouldEndHereDoc() const;

 private:
  enum class Frame {
    Code,           // the script, or inside $( ) or ` `
    Subst,          // $( ... )
    Backquote,      // ` ... `
    DoubleQuote,    // " ... "
    SingleQuote,    // ' ... '
    Comment,        // # ... line end
    Brace,          // ${ ... } outside double quotes
    QuotedBrace,    // ${ ... } inside double quotes or an expanding here-document
    Arith,          // $(( ... ))
    HereDocBody,    // the base of an expanding here-document's body
  };
  struct TFrame {
    Frame kind;
    int depth = 0;       // open parentheses of $( ) and $(( ))
    bool fresh = true;   // nothing read inside yet
  };
  struct THereDoc {
    std::string endWord;
    bool quoted = false;     // any quoting in the end word: the body is literal
    bool stripTabs = false;  // "<<-"
  };
  // The end word after "<<", as it is being read.
  struct TEndWord {
    bool active = false;
    bool pastOperator = false;  // a byte after "<<" was read
    bool started = false;
    bool escaped = false;
    char quote = 0;
    int nesting = 0;           // open $( and ${ inside the word
    bool inBackquote = false;
    THereDoc doc;
  };

  Frame Top() const { return frames_.empty() ? Frame::Code : frames_.back().kind; }
  bool InQuotedFrame() const;
  void Push(Frame kind, int depth = 0);
  void Pop() { frames_.pop_back(); }
  void FeedFrame(char c, bool lineBreak);
  void FeedCode(char c, bool lineBreak);
  void FeedQuoted(char c);
  bool FeedExpansionStart(char c);
  bool FeedEndWord(char c, bool lineBreak);
  void StartNextHereDoc();
  void EndHereDoc();

  std::vector<TFrame> frames_;
  bool escaped_ = false;
  bool dollar_ = false;
  bool wordStart_ = true;   // the next byte in code begins a word
  bool less_ = false;       // the last byte in code was "<"
  bool afterCR_ = false;    // an LF now belongs to the CR before it
  TEndWord endWord_;
  std::deque<THereDoc> pendingDocs_;  // bodies that begin at the next line
  bool inDoc_ = false;
  THereDoc doc_;                      // the body being read
  std::size_t docBase_ = 0;           // frames below the body
  std::string docLine_;
};
