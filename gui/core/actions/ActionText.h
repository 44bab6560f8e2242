#pragma once
// Reading the parameter text of a GUI action: words split at blanks, the
// rest of the text after some words, numbers as the C runtime reads them,
// and the entity a sender word names.
#include <cstdint>
#include <string>
#include <vector>

class cEntity_Base;
class GUIEntity;

namespace guiaction {

std::vector<std::string> Words(const std::string& text);
// The text after the first `count` words, without the blanks before it.
std::string Rest(const std::string& text, size_t count);
float Number(const std::string& word);
// "true" (any case) or "1".
bool Truth(const std::string& word);
// The GUI entity the word names when it is `context` or lies in the tree
// of context's GUI; null otherwise (a sender word is never trusted blindly).
GUIEntity* SenderEntity(cEntity_Base* context, uintptr_t word);
// The named entity of the context's entity manager (any case), or null.
cEntity_Base* FindNamed(cEntity_Base* context, const std::string& name);

}  // namespace guiaction
