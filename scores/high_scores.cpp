// The high-score table: its ranking rule and its byte-exact file.
#include "scores/high_scores.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "base/file.h"
#include "base/text_format.h"
#include "scores/file_ops.h"

namespace tolvi {
namespace {

constexpr std::size_t kTableBytes = sizeof(HighScoreTable);
constexpr std::size_t kStoredDateChars = 20;
constexpr char kTempFile[] = "highscore.dat.tmp";

HighScoreTable g_table{};

template <std::size_t N>
std::string_view FieldText(const std::array<char, N>& field) {
  return tolvi::FieldText(field.data(), N);
}

// Writes text and its zero byte, cut to fit; the bytes after the zero stay as they were.
template <std::size_t N>
void StoreText(std::array<char, N>& field, std::string_view text) {
  AppendText(field.data(), N, 0, text);
}

// Copies a field's text up to and including its zero byte (the whole field when it has none).
template <std::size_t N>
void MoveText(std::array<char, N>& to, const std::array<char, N>& from) {
  const std::size_t n = FieldText(from).size();
  std::memcpy(to.data(), from.data(), n < N ? n + 1 : N);
}

void StoreScore(HighScoreEntry& entry, double score) {
  std::uint64_t bits;
  std::memcpy(&bits, &score, sizeof bits);
  for (unsigned char& byte : entry.score) {
    byte = static_cast<unsigned char>(bits & 0xFF);
    bits >>= 8;
  }
}

double ScoreOf(const HighScoreEntry& entry) {
  std::uint64_t bits = 0;
  for (std::size_t i = 0; i < kScoreFieldBytes; ++i) {
    bits |= static_cast<std::uint64_t>(entry.score[i]) << (8 * i);
  }
  double score;
  std::memcpy(&score, &bits, sizeof score);
  return score;
}

void SetDefaults() {
  for (HighScoreEntry& entry : g_table) {
    StoreText(entry.name, "(non)");
    StoreScore(entry, 0.0);
    StoreText(entry.date, "-----");
  }
}

ReadResult ReadFileStart(const char* path, void* bytes, std::size_t capacity, std::size_t* size) {
  File file{std::fopen(path, "rb")};
  if (!file) return errno == ENOENT ? ReadResult::kMissing : ReadResult::kUnreadable;
  *size = std::fread(bytes, 1, capacity, file.get());
  return ReadResult::kRead;
}

WriteResult WriteWholeFile(const char* path, const void* bytes, std::size_t size) {
  File file{std::fopen(path, "wb")};
  if (!file) return WriteResult::kNotCreated;
  const bool written = std::fwrite(bytes, 1, size, file.get()) == size;
  return std::fclose(file.release()) == 0 && written ? WriteResult::kWritten : WriteResult::kFailed;
}

}  // namespace

FileOps& ScoreFileOps() {
  static FileOps ops{ReadFileStart, WriteWholeFile, FlushFile, MoveOver,
                     [](const char* path) { std::remove(path); }};
  return ops;
}

int SaveHighScores() {
  // Written beside the old file and renamed over it, so a crash or a full disk
  // leaves either the old table or the new one, never a part.
  const FileOps& ops = ScoreFileOps();
  switch (ops.write(kTempFile, g_table.data(), kTableBytes)) {
    case WriteResult::kWritten:
      if (ops.flush(kTempFile) && ops.move_over(kTempFile, kHighScoreFile)) return 1;
      break;
    case WriteResult::kNotCreated:
      // A folder that takes no new file: writing in place is the only way to keep the score.
      return ops.write(kHighScoreFile, g_table.data(), kTableBytes) == WriteResult::kWritten &&
             ops.flush(kHighScoreFile);
    case WriteResult::kFailed: break;
  }
  ops.remove(kTempFile);
  return 0;
}

int ResetHighScores() {
  SetDefaults();
  return SaveHighScores();
}

int LoadHighScores() {
  unsigned char bytes[kTableBytes];
  std::size_t n = 0;
  switch (ScoreFileOps().read(kHighScoreFile, bytes, kTableBytes, &n)) {
    case ReadResult::kMissing: return ResetHighScores();
    case ReadResult::kUnreadable:
      // Only a missing file is replaced; one that is there but unreadable is kept.
      SetDefaults();
      return 0;
    case ReadResult::kRead: break;
  }
  std::memcpy(g_table.data(), bytes, n);
  return 1;
}

int InsertScore(std::string_view name, double speed, std::string_view date_text) {
  if (!LoadHighScores()) return 0;
  int place = 0;
  for (int i = kHighScoreEntries - 1; i >= 0; --i) {
    if (speed < ScoreOf(g_table[i])) {
      place = i + 1;
      break;
    }
  }
  if (place == kHighScoreEntries) return 1;
  // A score that could not be saved is not shown as if it had been.
  const HighScoreTable before = g_table;
  for (int i = kHighScoreEntries - 2; i >= place; --i) {
    MoveText(g_table[i + 1].name, g_table[i].name);
    g_table[i + 1].score = g_table[i].score;
    MoveText(g_table[i + 1].date, g_table[i].date);
  }
  StoreText(g_table[place].name, name);
  StoreScore(g_table[place], speed);
  StoreText(g_table[place].date, date_text.substr(0, kStoredDateChars));
  if (SaveHighScores()) return 1;
  g_table = before;
  return 0;
}

std::string_view EntryName(int i) {
  return i >= 0 && i < kHighScoreEntries ? FieldText(g_table[i].name) : std::string_view();
}

double EntryScore(int i) { return i >= 0 && i < kHighScoreEntries ? ScoreOf(g_table[i]) : 0.0; }

std::string_view EntryDate(int i) {
  return i >= 0 && i < kHighScoreEntries ? FieldText(g_table[i].date) : std::string_view();
}

ShownEntry EntryShown(int i) {
  ShownEntry shown;
  // A name field may fill its 16 bytes with no zero byte after them.
  CopyWholeCharacters(EntryName(i), shown.name, sizeof shown.name);
  char score[kScoreTextBytes];
  std::size_t length = AppendFixed2(score, sizeof score, 0, EntryScore(i), 5);
  length = AppendText(score, sizeof score, length, "  ");
  AppendText(score, sizeof score, length, EntryDate(i));
  CopyWholeCharacters(score, shown.score, sizeof shown.score);
  return shown;
}

}  // namespace tolvi
