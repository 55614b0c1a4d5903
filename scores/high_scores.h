// The ten best speeds, held as the exact 480-byte image of highscore.dat.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace tolvi {

constexpr int kHighScoreEntries = 10;
constexpr std::size_t kNameFieldBytes = 16;
constexpr std::size_t kScoreFieldBytes = 8;
constexpr std::size_t kDateFieldBytes = 24;
constexpr std::size_t kScoreTextBytes = 52;
constexpr char kHighScoreFile[] = "highscore.dat";

struct HighScoreEntry {
  std::array<char, kNameFieldBytes> name;
  std::array<unsigned char, kScoreFieldBytes> score;  // IEEE 754 double, little-endian
  std::array<char, kDateFieldBytes> date;
};
static_assert(sizeof(HighScoreEntry) == 48, "an entry is 48 bytes on disk");

using HighScoreTable = std::array<HighScoreEntry, kHighScoreEntries>;
static_assert(sizeof(HighScoreTable) == 480, "the table is the 480-byte file image");

// Defaults in memory, then a new file. 1, or 0 when the file could not be written.
int ResetHighScores();
// Reads the file over the table (up to 480 bytes); a missing file is created with
// defaults. 1, or 0 when neither worked.
int LoadHighScores();
// Replaces the file with the table, all or nothing, or in place where the folder takes
// no new file. 1, or 0 on failure.
int SaveHighScores();
// Loads, ranks the speed and saves when it enters. 1, or 0 when the load or save failed.
int InsertScore(std::string_view name, double speed, std::string_view date_text);

// Texts end at their zero byte or at the end of their field, whichever comes first.
std::string_view EntryName(int i);
double EntryScore(int i);
std::string_view EntryDate(int i);

// What the high-score list shows of entry i, each text cut to whole characters: its name,
// read no further than its 16 bytes, and "%5.2f  %s" of its score and date in 52 bytes
// with the terminator.
struct ShownEntry {
  char name[kNameFieldBytes + 1];
  char score[kScoreTextBytes];
};
ShownEntry EntryShown(int i);

}  // namespace tolvi
