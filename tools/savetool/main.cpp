// savetool: writes prepared saved games into a run tree. It starts the game
// on the run tree without a display, builds a new game on each location
// named and saves it into the run tree's "data/Save/Normal" folder, or,
// after "--into <folder>", into that folder (the campaign's scenarios).
//
//   savetool <run tree> <save name> <location> [<save name> <location> ...]
//            [--into <folder> <save name> <location> ...]
#include <cstdio>
#include <string>
#include <vector>

#include "tools/savetool/PreparedSaves.h"

int main(int argc, char** argv) {
  static const char* const kUsage =
      "usage: savetool <run tree> <save name> <location> [<save name> <location> ...]\n"
      "                [--into <folder> <save name> <location> ...]\n";
  struct Job {
    std::string save, location, folder;
  };
  std::vector<Job> jobs;
  std::string folder;
  for (int i = 2; i < argc; i += 2) {
    if (std::string(argv[i]) == "--into") {
      if (i + 1 >= argc) break;
      folder = argv[i + 1];
      continue;
    }
    if (i + 1 >= argc) {
      jobs.clear();
      break;
    }
    jobs.push_back({argv[i], argv[i + 1], folder});
  }
  if (argc < 4 || jobs.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  PreparedSaves saves(argv[1]);
  if (!saves.Start()) {
    std::fprintf(stderr, "savetool: %s\n", saves.Failure().c_str());
    return 1;
  }
  for (const Job& job : jobs) {
    const bool saved = job.folder.empty() ? saves.SaveNewGame(job.location, job.save)
                                          : saves.SaveNewGameInto(job.location, job.save, job.folder);
    if (!saved) {
      std::fprintf(stderr, "savetool: %s\n", saves.Failure().c_str());
      return 1;
    }
  }
  return 0;
}
