#pragma once
// The configuration script reader's tokenizer: from raw script text straight
// to statements of tokens. It applies the script rules in the order they are
// defined (comments and white space are cleaned first, then quotes and ";"
// split the cleaned text into tokens, then ";", "{" and "}" end statements)
// in one walk over the text, without building the cleaned text. A token is a
// view into the raw text whenever its characters stand there unchanged and
// together, which is nearly always; the rest (escapes, white space folded
// inside quotes, quote marks or comments within a token) are spelled out in a
// buffer.
//
// Statements are read in batches: a batch holds whole statements, as many as
// fit in a bounded number of tokens. A script whose statements all fit in
// the first batch is read once and its verdict (the outline) comes with it,
// so the reader can refuse a bad file before running any statement without a
// second pass; a longer one is read batch by batch, the tokens kept being
// those of one batch whatever the script's size.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class ScriptTokenizer {
 public:
  ScriptTokenizer() = default;
  ~ScriptTokenizer();
  ScriptTokenizer(const ScriptTokenizer&) = delete;
  ScriptTokenizer& operator=(const ScriptTokenizer&) = delete;

  // What a whole text gives.
  struct Outline {
    bool endsOpen = false;    // ends inside quotes or a block comment (as the cleaning sees it)
    bool quotesOpen = false;  // quote marks never close (as the token split sees them,
                              // escaped quote marks included)
    bool hasTokens = false;   // at least one token
    size_t statementEnds = 0;  // ";" outside quotes and comments: about the number of statements
  };
  // The outline found by a quick walk, without splitting the text into
  // tokens: for texts too long for one batch.
  static Outline Check(std::string_view raw);

  // How many tokens a batch holds at most (a statement is never split
  // between batches, so one long statement may go past it).
  static constexpr size_t kBatchTokens = size_t{1} << 20;

  // Starts reading `raw` (held by the caller until the reading is done). A
  // statement keeps at most `maxStatementTokens` tokens; texts of 2 GB or
  // more are not read (they end open).
  void Start(std::string_view raw, size_t maxStatementTokens, size_t batchTokens = kBatchTokens);
  // Reads the next batch in place of the last; false when the text was done
  // already (the batch is then empty).
  bool ReadBatch();
  // The whole text has been read.
  bool AtEnd() const { return atEnd_; }
  // Once AtEnd: the same outline Check gives (statementEnds excepted: the
  // number of statements read).
  Outline GetOutline() const;

  // The batch's statements, in order: the tokens of one (valid until the
  // next ReadBatch or Start) and whether it had more than the limit (it
  // then holds the first ones).
  size_t StatementCount() const { return statements_.size(); }
  std::span<const std::string_view> Statement(size_t index, bool* tooLong) const {
    const Mark& m = statements_[index];
    *tooLong = m.tooLong;
    return std::span<const std::string_view>(tokens_ + m.first, m.end - m.first);
  }

  // Tokens read so far (";", "{" and "}" included).
  int64_t TokenCount() const { return tokenCount_; }

  // Reads the whole text and hands over every non-empty statement in order,
  // whatever its outline. Answers the number of tokens.
  using StatementFn = std::function<void(std::span<const std::string_view> tokens, bool tooLong)>;
  int64_t Scan(std::string_view raw, size_t maxStatementTokens, const StatementFn& each);

 private:
  enum class State : uint8_t { Normal, Quotes, LineComment, BlockComment };
  struct Mark {
    uint32_t first = 0;  // in tokens_
    uint32_t end = 0;
    bool tooLong = false;
  };
  // The token being read: in buffer_ or in the raw text.
  struct Current {
    size_t offset = 0;
    size_t length = 0;
    bool inBuffer = false;
  };
  static constexpr size_t kNoRaw = static_cast<size_t>(-1);
  static constexpr size_t kSpare = 16;
  // Statement marks count tokens in 32 bits.
  static constexpr size_t kMaxText = size_t{1} << 31;

  std::string_view raw_;
  size_t maxTokens_ = 0;
  size_t batchTokens_ = kBatchTokens;
  size_t pos_ = 0;
  State state_ = State::Normal;
  bool atEnd_ = false;
  std::unique_ptr<char[]> buffer_;  // spelled-out tokens of the batch; as large as the text
  // The batch's tokens: room for tokenRoom_, the first tokenEnd_ in use. The
  // room is taken unfilled (a batch may hold a million tokens; filling it
  // first would cost as much as reading them) and sized from the text.
  void GrowTokens(size_t room);
  std::string_view* tokens_ = nullptr;
  size_t tokenRoom_ = 0;
  size_t tokenEnd_ = 0;
  std::vector<Mark> statements_;  // of the batch
  // Where the walk stands between batches.
  bool tooLong_ = false;
  Current current_;
  bool canBlank_ = false;
  bool inQuotes_ = false;
  bool quoted_ = false;
  int64_t tokenCount_ = 0;
  size_t statementsRead_ = 0;
};
