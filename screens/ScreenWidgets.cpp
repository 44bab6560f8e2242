#include "screens/ScreenWidgets.h"

#include "platform/DebugOutput.h"

namespace screens {

void ReportMissingWidget(const char* screen, const std::string& name, bool wrongKind) {
  platform::DebugPrintf("[%s] widget \"%s\" %s; step skipped\n", screen, name.c_str(),
                        wrongKind ? "is of another kind" : "is missing");
}

}  // namespace screens
