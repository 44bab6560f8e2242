#include "engine/config/CoreLanguage.h"

CommandHandler CoreLanguage::Lookup(const std::string& keyword) const {
  const auto it = keywords_.find(keyword);
  return it == keywords_.end() ? nullptr : it->second;
}
