// Any highscore.dat (none, short, long, garbled) with any speed offered: the new entry
// goes just below the lowest that beats it, the rest move down a place, the file is
// the table, and no text is read or written past its field. The folder is in memory.
// Input: one steering byte (bit 0: no file; bits 1-5: name length; bits 6-7: date
// length), eight bytes of the speed, then the file.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <string_view>

#include "fuzz.h"
#include "scores/file_ops.h"
#include "scores/high_scores.h"

namespace {

using tolvi::fuzz::Check;
using tolvi::kHighScoreFile;

std::map<std::string, std::string> g_files;
const tolvi::FileOps kInMemory = {
    [](const char* path, void* bytes, std::size_t capacity, std::size_t* size) {
      const auto file = g_files.find(path);
      if (file == g_files.end()) return tolvi::ReadResult::kMissing;
      std::memcpy(bytes, file->second.data(), *size = std::min(capacity, file->second.size()));
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

// Entry i of a table image: its name and date texts, and its score.
std::string_view Name(const std::string& table, int i) { return {&table[48 * i], strnlen(&table[48 * i], 16)}; }
std::string_view Date(const std::string& table, int i) { return {&table[48 * i + 24], strnlen(&table[48 * i + 24], 24)}; }
double Score(const std::string& table, int i) {
  double score;
  std::memcpy(&score, &table[48 * i + 16], sizeof score);
  return score;
}
bool Same(const std::string& a, int i, const std::string& b, int j) {
  return Name(a, i) == Name(b, j) && Date(a, i) == Date(b, j) && !std::memcmp(&a[48 * i + 16], &b[48 * j + 16], 8);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 9) return 0;
  double speed;
  std::memcpy(&speed, data + 1, sizeof speed);
  const std::string_view name("Abcdefghijklmnopqrstuvwxyz01234", (data[0] >> 1) & 31);
  const std::string_view date("Aug 04 07:04:32 1999 and more", (data[0] >> 6) * 9);
  tolvi::ScoreFileOps() = kInMemory;
  g_files = {{kHighScoreFile, std::string(480, '\0')}};
  tolvi::LoadHighScores();  // the zeros of a table at program start
  g_files.clear();
  if (!(data[0] & 1)) g_files[kHighScoreFile].assign(reinterpret_cast<const char*>(data) + 9, size - 9);
  Check(tolvi::LoadHighScores() == 1 && tolvi::SaveHighScores() == 1, "any file loads and saves");

  // The table as a file with one byte more, which only a save of a new entry takes away.
  const std::string before = g_files[kHighScoreFile];
  g_files[kHighScoreFile] += "#";
  Check(tolvi::InsertScore(name, speed, date) == 1, "a score is offered");
  const std::string after = g_files[kHighScoreFile];
  Check(g_files.size() == 1, "no temporary file is left");
  if (after.size() != 480) {
    Check(after == before + "#" && speed < Score(before, 9), "only a score below the last is left out");
  } else {
    int place = 0;
    while (place < 10 && Same(after, place, before, place)) ++place;
    while (place > 0 && place < 10 && Same(after, place - 1, after, place)) --place;  // the new one leads equals
    for (int i = 9; i > place; --i) Check(Same(after, i, before, i - 1), "the rest move down a place");
    if (place < 10) {
      Check(Name(after, place) == name.substr(0, 15) && Date(after, place) == date.substr(0, 20) &&
                !std::memcmp(&after[48 * place + 16], &speed, 8), "the new entry is stored, its texts cut");
      Check(place == 0 || speed < Score(before, place - 1), "the entry above beats it");
      for (int i = place; i < 10; ++i) Check(!(speed < Score(before, i)), "no entry below beats it");
    }
  }
  for (int i = 0; i < 10; ++i) {
    char text[tolvi::kScoreTextBytes + 1];
    text[tolvi::kScoreTextBytes] = '#';
    tolvi::FormatScoreText(i, text);
    Check(text[tolvi::kScoreTextBytes] == '#' && strnlen(text, 52) < 52, "a score text fits 52 bytes");
    Check(tolvi::EntryName(i) == Name(after, i) && tolvi::EntryDate(i) == Date(after, i), "texts end in their fields");
  }
  return 0;
}
