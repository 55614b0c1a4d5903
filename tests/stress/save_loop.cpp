// Saves tables A and B in turn, for ever, in the folder named on the command line,
// so that a test can kill it in the middle of a save. Writes one byte to its
// standard output once the first table is in place.
#include <unistd.h>

#include "save_tables.h"
#include "scores/high_scores.h"

int main(int argc, char** argv) {
  using tolvi::HighScores;
  using tolvi::SaveHighScores;
  if (argc != 2 || chdir(argv[1]) != 0) return 2;
  const tolvi::HighScoreTable a = tolvi::stress::FullTable('A', 1000.0);
  const tolvi::HighScoreTable b = tolvi::stress::FullTable('B', 2000.0);
  HighScores() = a;
  if (!SaveHighScores()) return 3;
  if (write(STDOUT_FILENO, "r", 1) != 1) return 4;
  for (;;) {
    HighScores() = b;
    if (!SaveHighScores()) return 5;
    HighScores() = a;
    if (!SaveHighScores()) return 5;
  }
}
