#pragma once
// The configuration script reader's tokenizer: from raw script text straight
// to statements of tokens, handed over one statement at a time. It applies
// the script rules in the order they are defined (comments and white space
// are cleaned first, then quotes and ";" split the cleaned text into tokens,
// then ";", "{" and "}" end statements) in one walk over the text, without
// building the cleaned text. A token is a view into the raw text whenever its
// characters stand there unchanged and together, which is nearly always; the
// rest (escapes, white space folded inside quotes, quote marks or comments
// within a token) are spelled out in a buffer that serves one statement at a
// time. Memory is that of the longest statement, whatever the script's size.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class ScriptTokenizer {
 public:
  // What a whole text gives, found without splitting it into tokens.
  struct Outline {
    bool endsOpen = false;    // ends inside quotes or a block comment (as the cleaning sees it)
    bool quotesOpen = false;  // quote marks never close (as the token split sees them,
                              // escaped quote marks included)
    bool hasTokens = false;   // at least one token
    size_t statementEnds = 0;  // ";" outside quotes and comments: about the number of statements
  };
  static Outline Check(std::string_view raw);

  // A statement's tokens, valid during the call only; `tooLong` when it had
  // more than the limit (it then holds the first ones).
  using StatementFn = std::function<void(const std::vector<std::string_view>& tokens, bool tooLong)>;

  // Walks the whole text and hands over every non-empty statement in order.
  // A statement keeps at most `maxStatementTokens` tokens. Answers the number
  // of tokens (";", "{" and "}" included).
  int64_t Scan(std::string_view raw, size_t maxStatementTokens, const StatementFn& each);

 private:
  struct Span {
    size_t offset = 0;
    size_t length = 0;
    bool inBuffer = false;  // in buffer_, else in the raw text
  };
  static constexpr size_t kNoRaw = static_cast<size_t>(-1);

  void Emit(char c, size_t rawPos);
  void Blank(size_t rawPos);
  void Append(char c, size_t rawPos);
  void AppendRun(size_t from, size_t to);
  void SpellOut();
  void FinishToken();
  void FinishStatement();
  std::string_view View(const Span& s) const {
    return s.inBuffer ? std::string_view(buffer_).substr(s.offset, s.length) : raw_.substr(s.offset, s.length);
  }

  std::string_view raw_;
  size_t maxTokens_ = 0;
  std::string buffer_;
  const StatementFn* each_ = nullptr;
  std::vector<Span> tokens_;  // of the statement being read
  std::vector<std::string_view> views_;
  bool tooLong_ = false;
  Span current_;
  bool hasOut_ = false;   // the cleaned text has begun
  char lastOut_ = 0;      // its last character
  bool inQuotes_ = false;  // the token split is inside quotes
  bool quoted_ = false;    // the current token has a quoted part
  int64_t tokenCount_ = 0;
};
