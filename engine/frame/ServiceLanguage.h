#pragma once
// Entering and leaving the keyword language of a script block.
class ConfigParser;

namespace svcscript {

// Stacks the current language and makes the named one current.
void PushLanguage(ConfigParser* parser, const char* language);
// Returns to the language the block was entered from.
void PopLanguage(ConfigParser* parser);

}  // namespace svcscript
