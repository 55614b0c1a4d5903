// Any highscore.dat (none, short, long, garbled) with any speed offered, in a folder in
// memory: the new entry goes just below the lowest that beats it, the entries above it
// stay, and no text is read or written past its field.
// Input: one steering byte (bit 0: no file; bits 1-5: name length; bits 6-7: date
// length), eight bytes of the speed, then the file.
#include "fuzz.h"
#include "scores/file_ops.h"
#include "scores/high_scores.h"

namespace {

using tolvi::fuzz::Check;
std::map<std::string, std::string> g_files;

tolvi::ReadResult Read(const char* path, void* bytes, std::size_t capacity, std::size_t* size) {
  if (!g_files.count(path)) return tolvi::ReadResult::kMissing;
  std::memcpy(bytes, g_files[path].data(), *size = std::min(capacity, g_files[path].size()));
  return tolvi::ReadResult::kRead;
}
tolvi::WriteResult Write(const char* path, const void* bytes, std::size_t size) {
  return g_files[path].assign(static_cast<const char*>(bytes), size), tolvi::WriteResult::kWritten;
}
bool Rename(const char* from, const char* to) { return g_files[to] = g_files[from], g_files.erase(from) == 1; }

double Score(const std::string& table, int i) {
  double score;
  return std::memcpy(&score, &table[48 * i + 16], sizeof score), score;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 9) return 0;
  double speed;
  std::memcpy(&speed, data + 1, sizeof speed);
  const std::string_view name("Abcdefghijklmnopqrstuvwxyz01234", (data[0] >> 1) & 31);
  const std::string_view date("Aug 04 07:04:32 1999 and more", (data[0] >> 6) * 9);
  tolvi::ScoreFileOps() = {Read, Write, [](const char*) { return true; }, Rename, [](const char* path) { g_files.erase(path); }};
  g_files = {{tolvi::kHighScoreFile, std::string(480, '\0')}};
  tolvi::LoadHighScores();  // the zeros of a table at program start
  g_files = {{tolvi::kHighScoreFile, std::string(reinterpret_cast<const char*>(data) + 9, size - 9)}};
  if (data[0] & 1) g_files.clear();
  Check(tolvi::LoadHighScores() == 1 && tolvi::SaveHighScores() == 1, "any file loads and saves");

  // The table as a file with one byte more, which only a save of a new entry takes away.
  const std::string before = g_files[tolvi::kHighScoreFile] + "#";
  g_files[tolvi::kHighScoreFile] = before;
  Check(tolvi::InsertScore(name, speed, date) == 1 && g_files.size() == 1, "a score is offered, no temporary file left");
  const std::string after = g_files[tolvi::kHighScoreFile];
  int place = 10;  // just below the lowest entry that beats it
  while (place > 0 && !(speed < Score(before, place - 1))) --place;
  Check(place == 10 ? after == before : after.size() == 480 && !after.compare(0, 48 * place, before, 0, 48 * place),
        "only a new entry rewrites the file, and the entries above it stay");
  Check(place == 10 || (tolvi::EntryName(place) == name.substr(0, 15) && tolvi::EntryDate(place) == date.substr(0, 20) &&
                        !std::memcmp(&after[48 * place + 16], &speed, 8)), "the new entry is stored in its place");
  for (int i = 0; i < 10; ++i) {
    char text[tolvi::kScoreTextBytes];  // exactly its size, so a write past it is caught
    tolvi::FormatScoreText(i, text);
    Check(strnlen(text, 52) < 52 && tolvi::EntryName(i).size() <= 16 && tolvi::EntryDate(i).size() <= 24,
          "texts end in their fields");
  }
  return 0;
}
