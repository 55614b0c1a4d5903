// Any highscore.dat (none, short, long, garbled) with any speed offered, in a folder in
// memory: the new entry goes just below the lowest that beats it, the entries above it
// stay, and no text is read or written past its field.
// Input: one steering byte (bit 0: no file; bits 1-5: the name's length), eight bytes of
// the speed, then the file.
#include "fuzz.h"
#include "scores/file_ops.h"
#include "scores/high_scores.h"

namespace {

using tolvi::fuzz::Check;
std::map<std::string, std::string> g_files;

tolvi::ReadResult Read(const char* path, void* bytes, std::size_t capacity, std::size_t* size) {
  if (g_files.count(path) == 0) return tolvi::ReadResult::kMissing;
  *size = std::min(capacity, g_files[path].size());
  std::memcpy(bytes, g_files[path].data(), *size);
  return tolvi::ReadResult::kRead;
}
tolvi::WriteResult Write(const char* path, const void* bytes, std::size_t size) {
  g_files[path].assign(static_cast<const char*>(bytes), size);
  return tolvi::WriteResult::kWritten;
}
bool Flush(const char*) { return true; }
bool Rename(const char* from, const char* to) {
  g_files[to] = g_files[from];
  return g_files.erase(from) == 1;
}
void Remove(const char* path) { g_files.erase(path); }

// The score of entry i as the file holds it; a short file reads as zeros past its end.
double ScoreAt(const std::string& file, int i) {
  std::array<char, 8> bytes{};
  file.copy(bytes.data(), bytes.size(), std::min<std::size_t>(48 * i + 16, file.size()));
  double score;
  std::memcpy(&score, bytes.data(), sizeof score);
  return score;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 9) return 0;
  double speed;
  std::memcpy(&speed, data + 1, sizeof speed);
  const std::string_view name("Abcdefghijklmnopqrstuvwxyz01234", (data[0] >> 1) & 31);
  tolvi::ScoreFileOps() = {Read, Write, Flush, Rename, Remove};
  g_files = {{tolvi::kHighScoreFile, std::string(480, '\0')}};
  tolvi::LoadHighScores();  // the zeros of a table at program start, for a missing file
  g_files.clear();
  if ((data[0] & 1) == 0) g_files[tolvi::kHighScoreFile].assign(data + 9, data + size);
  Check(tolvi::LoadHighScores() == 1 && tolvi::SaveHighScores() == 1, "any file loads and saves");

  // One byte more in the file, which only a save of a new entry takes away.
  const std::string before = g_files[tolvi::kHighScoreFile] + "#";
  g_files[tolvi::kHighScoreFile] = before;
  Check(tolvi::InsertScore(name, speed, "Aug 04 07:04:32 1999") == 1, "a score is offered");
  Check(g_files.size() == 1, "no temporary file is left");
  const std::string after = g_files[tolvi::kHighScoreFile];
  int place = 10;
  while (place > 0 && !(speed < ScoreAt(before, place - 1))) --place;
  if (place == 10) {
    Check(after == before, "a score that does not enter leaves the file alone");
  } else {
    Check(after.size() == 480 && after.compare(0, 48 * place, before, 0, 48 * place) == 0,
          "the entries above the new one stay");
    Check(tolvi::EntryName(place) == name.substr(0, 15) &&
              std::memcmp(&after[48 * place + 16], &speed, 8) == 0,
          "the new entry is in its place");
  }
  for (int i = 0; i < tolvi::kHighScoreEntries; ++i) {
    const tolvi::ShownEntry shown = tolvi::EntryShown(i);
    Check(strnlen(shown.name, sizeof shown.name) < sizeof shown.name &&
              strnlen(shown.score, sizeof shown.score) < sizeof shown.score,
          "the texts shown end in their fields");
  }
  return 0;
}
