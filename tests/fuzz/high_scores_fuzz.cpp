// Fuzzes highscore.dat: any file (none, empty, short, long, garbled) is loaded, a
// speed from the input is offered, and the table, the file and every score text
// agree with a plain model of the 480-byte image.
//
// Input: one steering byte, eight bytes of the speed (a double as the machine holds
// it), then the file. Steering bit 0: no file at all; bits 1-5: name length 0-31;
// bits 6-7: date length 0, 5, 20 or 35.
#include <array>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "private_folder.h"
#include "scores/high_scores.h"

namespace {

using tolvi::fuzz::Check;

constexpr std::size_t kTableBytes = 480;
constexpr std::size_t kEntryBytes = 48;
constexpr std::size_t kNameAt = 0, kScoreAt = 16, kDateAt = 24;
constexpr char kTempFile[] = "highscore.dat.tmp";
constexpr char kLongName[] = "Abcdefghijklmnopqrstuvwxyz01234";
constexpr char kLongDate[] = "Aug 04 07:04:32 1999 and then more";
constexpr std::size_t kDateLengths[] = {0, 5, 20, 35};

using Image = std::array<unsigned char, kTableBytes>;

double ScoreAt(const Image& image, int i) {
  double score;
  std::memcpy(&score, &image[i * kEntryBytes + kScoreAt], sizeof score);
  return score;
}

std::string_view TextAt(const Image& image, int i, std::size_t at, std::size_t field) {
  const char* start = reinterpret_cast<const char*>(&image[i * kEntryBytes + at]);
  const void* end = std::memchr(start, '\0', field);
  return {start, end ? static_cast<std::size_t>(static_cast<const char*>(end) - start) : field};
}

// A text field's text and its zero byte, or the whole field when it has none.
void MoveField(Image& image, int to, int from, std::size_t at, std::size_t field) {
  const std::size_t n = TextAt(image, from, at, field).size();
  std::memcpy(&image[to * kEntryBytes + at], &image[from * kEntryBytes + at], n < field ? n + 1 : field);
}

void PutText(Image& image, int i, std::size_t at, std::size_t field, std::string_view text) {
  const std::size_t n = text.size() < field - 1 ? text.size() : field - 1;
  std::memcpy(&image[i * kEntryBytes + at], text.data(), n);
  image[i * kEntryBytes + at + n] = '\0';
}

Image DefaultImage() {
  Image image{};
  for (int i = 0; i < 10; ++i) {
    PutText(image, i, kNameAt, 16, "(non)");
    PutText(image, i, kDateAt, 24, "-----");
  }
  return image;
}

// Ten places, the new score just below the lowest entry that beats it.
int ModelInsert(Image& image, std::string_view name, double speed, std::string_view date) {
  int place = 0;
  for (int i = 9; i >= 0; --i) {
    if (speed < ScoreAt(image, i)) {
      place = i + 1;
      break;
    }
  }
  if (place == 10) return place;
  for (int i = 8; i >= place; --i) {
    MoveField(image, i + 1, i, kNameAt, 16);
    std::memcpy(&image[(i + 1) * kEntryBytes + kScoreAt], &image[i * kEntryBytes + kScoreAt], 8);
    MoveField(image, i + 1, i, kDateAt, 24);
  }
  PutText(image, place, kNameAt, 16, name);
  std::memcpy(&image[place * kEntryBytes + kScoreAt], &speed, sizeof speed);
  PutText(image, place, kDateAt, 24, date.substr(0, 20));
  return place;
}

// "%5.2f  %s" cut to 51 characters, with an exact half rounded away from zero.
std::string ModelScoreText(double score, std::string_view date) {
  char number[400];
  if (std::isnan(score)) {
    std::snprintf(number, sizeof number, "%5s", "nan");
  } else {
    // Exact: 53 bits of the double and 7 of the hundred fit in the 64 of a long double.
    const long double hundredths = static_cast<long double>(score) * 100;
    const bool half = std::isfinite(score) && hundredths - std::floor(hundredths) == 0.5L;
    if (half) std::fesetround(score > 0 ? FE_UPWARD : FE_DOWNWARD);
    std::snprintf(number, sizeof number, "%5.2f", score);
    if (half) std::fesetround(FE_TONEAREST);
  }
  std::string text = std::string(number) + "  " + std::string(date);
  if (text.size() > tolvi::kScoreTextBytes - 1) text.resize(tolvi::kScoreTextBytes - 1);
  return text;
}

bool Exists(const char* name) {
  std::FILE* file = std::fopen(name, "rb");
  if (file) std::fclose(file);
  return file != nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tolvi::fuzz::EnterPrivateFolder("high_scores");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const unsigned char steer = size > 0 ? data[0] : 0;
  unsigned char speed_bytes[8] = {};
  std::memcpy(speed_bytes, data + (size > 0 ? 1 : 0), size > 9 ? 8 : (size > 1 ? size - 1 : 0));
  double speed;
  std::memcpy(&speed, speed_bytes, sizeof speed);
  const std::string file(reinterpret_cast<const char*>(data) + (size > 9 ? 9 : size), size > 9 ? size - 9 : 0);
  const bool no_file = steer & 1;
  const std::string_view name(kLongName, (steer >> 1) & 31);
  const std::string_view date(kLongDate, kDateLengths[steer >> 6]);

  std::remove(tolvi::kHighScoreFile);
  std::remove(kTempFile);
  if (!no_file) tolvi::fuzz::WriteWholeFile(tolvi::kHighScoreFile, file.data(), file.size());
  tolvi::HighScores() = tolvi::HighScoreTable{};  // as at program start

  Image model{};
  if (no_file) {
    model = DefaultImage();
  } else {
    std::memcpy(model.data(), file.data(), file.size() < kTableBytes ? file.size() : kTableBytes);
  }
  const std::string before(no_file ? std::string(reinterpret_cast<const char*>(model.data()), kTableBytes) : file);
  const int place = ModelInsert(model, name, speed, date);

  Check(tolvi::InsertScore(name, speed, date) == 1, "a score is offered in a writable folder");
  Check(std::memcmp(tolvi::HighScores().data(), model.data(), kTableBytes) == 0, "the table equals the model");

  std::string after;
  Check(tolvi::fuzz::ReadWholeFile(tolvi::kHighScoreFile, after), "the file is there");
  if (place < 10) {
    Check(after.size() == kTableBytes, "a saved file is 480 bytes");
    Check(std::memcmp(after.data(), model.data(), kTableBytes) == 0, "the saved file equals the table");
  } else {
    Check(after == before, "a score that does not enter leaves the file");
  }
  Check(!Exists(kTempFile), "no temporary file is left");

  std::unique_ptr<char[]> text(new char[tolvi::kScoreTextBytes + 1]);
  for (int i = 0; i < 10; ++i) {
    Check(tolvi::EntryName(i).size() <= 16 && tolvi::EntryName(i) == TextAt(model, i, kNameAt, 16),
          "EntryName is the name field's text");
    Check(tolvi::EntryDate(i).size() <= 24 && tolvi::EntryDate(i) == TextAt(model, i, kDateAt, 24),
          "EntryDate is the date field's text");
    const double score = tolvi::EntryScore(i);
    Check(std::memcmp(&score, &model[i * kEntryBytes + kScoreAt], 8) == 0, "EntryScore is the score field");

    std::memset(text.get(), 0xCC, tolvi::kScoreTextBytes + 1);
    text[tolvi::kScoreTextBytes] = 0x5A;
    tolvi::FormatScoreText(i, text.get());
    Check(text[tolvi::kScoreTextBytes] == 0x5A, "the guard byte after the 52-byte score text is kept");
    Check(std::memchr(text.get(), '\0', tolvi::kScoreTextBytes) != nullptr, "the score text is terminated in 52 bytes");
    Check(text.get() == ModelScoreText(ScoreAt(model, i), TextAt(model, i, kDateAt, 24)),
          "the score text is \"%5.2f  %s\" of the entry");
  }

  if (place < 10) {
    tolvi::HighScores() = tolvi::HighScoreTable{};
    Check(tolvi::LoadHighScores() == 1, "the saved file loads");
    Check(std::memcmp(tolvi::HighScores().data(), model.data(), kTableBytes) == 0, "the saved file loads as saved");
  }
  return 0;
}
