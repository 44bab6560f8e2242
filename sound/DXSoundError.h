#pragma once
// The one reporter for failed output-layer calls of the sound service. The
// report text is composed the way the service always has ("DXSound Error : "
// and the result's symbolic name) and then dropped: a failed call must never
// disturb the game, and the operation carries on as it is written to. The
// last text is kept so tests can see what was reported.
#include <string>

#include "base/Status.h"

void ReportDXError(CoreStatus result);

// The text of the most recent report (empty before any) and how many there
// have been; for tests.
const std::string& LastDXErrorText();
unsigned DXErrorCount();

// Reports a failure and answers whether the call succeeded.
inline bool DXSucceeded(CoreStatus result) {
  if (status::Succeeded(result)) return true;
  ReportDXError(result);
  return false;
}
