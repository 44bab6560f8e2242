// savetool: writes prepared saved games into a run tree. It starts the game
// on the run tree without a display, builds a new game on each location
// named and saves it into the run tree's "data/Save/Normal" folder.
//
//   savetool <run tree> <save name> <location> [<save name> <location> ...]
#include <cstdio>
#include <string>

#include "tools/savetool/PreparedSaves.h"

int main(int argc, char** argv) {
  if (argc < 4 || (argc - 2) % 2 != 0) {
    std::fputs("usage: savetool <run tree> <save name> <location> [<save name> <location> ...]\n", stderr);
    return 2;
  }
  PreparedSaves saves(argv[1]);
  if (!saves.Start()) {
    std::fprintf(stderr, "savetool: %s\n", saves.Failure().c_str());
    return 1;
  }
  for (int i = 2; i + 1 < argc; i += 2) {
    if (!saves.SaveNewGame(argv[i + 1], argv[i])) {
      std::fprintf(stderr, "savetool: %s\n", saves.Failure().c_str());
      return 1;
    }
  }
  return 0;
}
