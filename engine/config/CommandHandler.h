#pragma once
// Script commands: a statement's first token (the keyword) selects a plain
// function that does the work. Handlers are bare function addresses; nothing
// owns them, so they can be copied between maps freely.
#include <string>
#include <unordered_map>
#include <vector>

#include "base/Status.h"

class CoreParser;

// The tokens of one statement; token 0 is the keyword.
using CStringArray = std::vector<std::string>;

// Returns status::Ok when the statement was done, status::Fail when refused.
// The parser is the reader that produced the tokens; handlers that need more
// than the base down-cast it to their own reader.
using CommandHandler = CoreStatus (*)(CStringArray& tokens, CoreParser* parser);

// Command name (exact, case-sensitive) -> handler.
using CommandMap = std::unordered_map<std::string, CommandHandler>;
