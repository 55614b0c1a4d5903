// Any highscore.dat (none, short, long, garbled) with any speed offered: the new entry
// goes just below the lowest that beats it, the rest move down a place by their three
// fields, the file is the table, and no text is read or written past its field.
// Input: one steering byte (bit 0: no file; bits 1-5: name length; bits 6-7: date
// length), eight bytes of the speed, then the file.
#include <cstdint>
#include <cstring>
#include <algorithm>
#include <map>
#include <string>
#include <string_view>

#include "fuzz.h"
#include "scores/file_ops.h"
#include "scores/high_scores.h"

namespace {

using tolvi::fuzz::Check;
using Table = tolvi::HighScoreTable;

double ScoreOf(const Table& table, int i) {
  double score;
  std::memcpy(&score, table[i].score.data(), sizeof score);
  return score;
}

std::string_view Text(const char* field, std::size_t size) {
  return {field, strnlen(field, size)};
}

// The folder, in memory: the loader and the saver run as they do on a disk.
std::map<std::string, std::string> g_files;
const tolvi::FileOps kInMemory = {
    [](const char* path, void* bytes, std::size_t capacity, std::size_t* size) {
      const auto file = g_files.find(path);
      if (file == g_files.end()) return tolvi::ReadResult::kMissing;
      *size = std::min(capacity, file->second.size());
      std::memcpy(bytes, file->second.data(), *size);
      return tolvi::ReadResult::kRead;
    },
    [](const char* path, const void* bytes, std::size_t size) {
      g_files[path].assign(static_cast<const char*>(bytes), size);
      return tolvi::WriteResult::kWritten;
    },
    [](const char*) { return true; },
    [](const char* from, const char* to) {
      g_files[to] = g_files[from];
      return g_files.erase(from) == 1;
    },
    [](const char* path) { g_files.erase(path); }};

bool SameEntry(const Table& a, int i, const Table& b, int j) {
  return Text(a[i].name.data(), 16) == Text(b[j].name.data(), 16) && a[i].score == b[j].score &&
         Text(a[i].date.data(), 24) == Text(b[j].date.data(), 24);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 9) return 0;
  double speed;
  std::memcpy(&speed, data + 1, sizeof speed);
  const std::string_view name("Abcdefghijklmnopqrstuvwxyz01234", (data[0] >> 1) & 31);
  const std::string_view date("Aug 04 07:04:32 1999 and more", (data[0] >> 6) * 9);
  const std::string file(reinterpret_cast<const char*>(data) + 9, size - 9);
  tolvi::ScoreFileOps() = kInMemory;
  g_files.clear();
  if (!(data[0] & 1)) g_files[tolvi::kHighScoreFile] = file;

  tolvi::HighScores() = Table{};
  Check(tolvi::LoadHighScores() == 1, "any file loads");
  const Table before = tolvi::HighScores();
  // The table as a file with one byte more, which only a save takes away.
  const std::string image(reinterpret_cast<const char*>(before.data()), 480);
  g_files[tolvi::kHighScoreFile] = image + "#";
  Check(tolvi::InsertScore(name, speed, date) == 1, "a score is offered in a writable folder");
  const Table& after = tolvi::HighScores();
  const std::string saved = g_files[tolvi::kHighScoreFile];
  Check(g_files.size() == 1, "no temporary file is left");

  if (saved.size() != 480) {
    Check(saved == image + "#" && speed < ScoreOf(before, 9), "only a score below the last is left out");
  } else {
    Check(std::memcmp(saved.data(), after.data(), 480) == 0, "the file is the table");
    int place = 0;
    while (place < 10 && SameEntry(after, place, before, place)) ++place;
    // Among equal entries the new one stands first.
    while (place > 0 && place < 10 && SameEntry(after, place - 1, after, place)) --place;
    for (int i = 9; i > place; --i) Check(SameEntry(after, i, before, i - 1), "the rest move down a place");
    if (place < 10) {
      Check(Text(after[place].name.data(), 16) == name.substr(0, 15), "the name is stored, cut to 15");
      Check(Text(after[place].date.data(), 24) == date.substr(0, 20), "the date is stored, cut to 20");
      Check(std::memcmp(after[place].score.data(), &speed, 8) == 0, "the speed is stored");
      Check(place == 0 || speed < ScoreOf(before, place - 1), "the entry above beats it");
      for (int i = place; i < 10; ++i) Check(!(speed < ScoreOf(before, i)), "no entry below beats it");
    }
  }

  for (int i = 0; i < 10; ++i) {
    char text[tolvi::kScoreTextBytes + 1];
    text[tolvi::kScoreTextBytes] = '#';
    tolvi::FormatScoreText(i, text);
    Check(text[tolvi::kScoreTextBytes] == '#' && strnlen(text, 52) < 52, "a score text fits 52 bytes");
    Check(tolvi::EntryName(i).size() <= 16 && tolvi::EntryDate(i).size() <= 24, "texts end in their fields");
  }
  tolvi::HighScores() = Table{};
  Check(tolvi::LoadHighScores() == 1 && std::memcmp(tolvi::HighScores().data(), after.data(), 480) == 0,
        "the saved table loads as it was");
  return 0;
}
