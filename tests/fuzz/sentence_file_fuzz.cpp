// Fuzzes the sentence file: every line read, the count and the drawn sentences agree
// with a plain byte-at-a-time model of a text-mode read.
//
// Input: one steering byte, then the file. When its low two bits are both set, the
// file is padded in front so the text starts within 63 bytes of the reader's 64 KiB
// block edge, where a CR LF or a cut line can straddle two blocks.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "practice/random.h"
#include "practice/sentence_source.h"
#include "practice/settings.h"
#include "private_folder.h"

namespace {

using tolvi::fuzz::Check;

constexpr std::size_t kBlockBytes = 64 * 1024;
constexpr unsigned char kFill = 0xCC;

// The readable text: 0x1A ends it, and a CR directly before an LF is dropped.
// The model is kept out of the coverage map: the fuzzer is to explore the reader.
__attribute__((no_sanitize("coverage"))) std::string TextModeText(const std::string& raw) {
  std::string text;
  text.reserve(raw.size());
  for (std::size_t i = 0; i < raw.size() && raw[i] != 0x1A; ++i) {
    if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    text += raw[i];
  }
  return text;
}

// Lines cut into pieces of room bytes; a cut piece followed by its LF leaves an
// empty piece. The pieces point into text.
__attribute__((no_sanitize("coverage"))) std::vector<std::string_view> ModelPieces(const std::string& text,
                                                                                    std::size_t room) {
  std::vector<std::string_view> pieces;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t start = pos;
    std::size_t length = 0;
    while (pos < text.size() && length < room) {
      if (text[pos++] == '\n') break;
      ++length;
    }
    pieces.emplace_back(text.data() + start, length);
  }
  return pieces;
}

// The bytes read are exactly the piece, then the terminator.
bool Holds(const char* buffer, std::string_view piece) {
  return std::memcmp(buffer, piece.data(), piece.size()) == 0 && buffer[piece.size()] == '\0';
}

void CheckReadAll(const std::vector<std::string_view>& model, int capacity) {
  tolvi::SentenceStream stream(tolvi::kDefaultSentenceFile);
  Check(stream.is_open(), "the sentence file opens");
  // Exactly the capacity on the heap, so a write past it is caught.
  std::unique_ptr<char[]> buffer(new char[capacity]);
  std::size_t read = 0;
  for (;;) {
    std::memset(buffer.get(), kFill, capacity);
    const char* line = tolvi::read_sentence_line(buffer.get(), capacity, stream);
    if (!line) break;
    Check(line == buffer.get(), "a line is returned in the caller's buffer");
    Check(read < model.size(), "no more lines than the model");
    Check(std::memchr(line, '\0', capacity) != nullptr, "a line is terminated within its capacity");
    Check(Holds(line, model[read]), "a line equals the model's piece");
    ++read;
  }
  Check(read == model.size(), "as many lines as the model");
  Check(tolvi::read_sentence_line(buffer.get(), capacity, stream) == nullptr,
        "the end of the text stays the end");
}

__attribute__((no_sanitize("coverage"))) std::uint32_t Fnv1a(const std::uint8_t* data, std::size_t size) {
  std::uint32_t hash = 2166136261u;
  for (std::size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 16777619u;
  return hash;
}

const std::string& Padding() {
  static const std::string padding = [] {
    std::string lines;
    while (lines.size() < kBlockBytes) lines += lines.size() % 79 == 78 ? '\n' : 'p';
    return lines;
  }();
  return padding;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tolvi::fuzz::EnterPrivateFolder("sentence_file");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const unsigned char steer = data[0];
  std::string raw;
  if ((steer & 3) == 3) raw = Padding().substr(0, kBlockBytes - (steer >> 2));
  raw.append(reinterpret_cast<const char*>(data + 1), size - 1);
  tolvi::fuzz::WriteWholeFile(tolvi::kDefaultSentenceFile, raw.data(), raw.size());

  const std::string text = TextModeText(raw);
  const std::vector<std::string_view> model = ModelPieces(text, tolvi::kSentenceBytes - 1);
  for (std::string_view piece : model) Check(piece.size() <= 79, "a model piece is at most 79 bytes");
  CheckReadAll(model, tolvi::kSentenceBytes);

  const std::uint32_t hash = Fnv1a(data, size);
  const int other_capacity = 2 + static_cast<int>(hash % 120);
  CheckReadAll(ModelPieces(text, other_capacity - 1), other_capacity);

  Check(tolvi::CountSentences() == 1, "the sentence file counts");
  Check(tolvi::SentenceCount() == static_cast<int>(model.size()), "the count equals the model's");

  // Four draws, as one game makes, against our own copy of the generator.
  std::uint32_t state = hash;
  tolvi::SeedRandom(state);
  std::unique_ptr<char[]> sentence(new char[tolvi::kSentenceBytes]);
  for (int draw = 0; draw < 4; ++draw) {
    std::memset(sentence.get(), kFill, tolvi::kSentenceBytes);
    const int drawn = tolvi::DrawSentence(sentence.get());
    if (model.empty()) {
      Check(drawn == 0, "no line, no draw");
      for (int i = 0; i < tolvi::kSentenceBytes; ++i) {
        Check(static_cast<unsigned char>(sentence[i]) == kFill, "a failed draw leaves the destination");
      }
      continue;
    }
    state = state * 214013u + 2531011u;
    const std::size_t index = ((state >> 16) & 0x7FFFu) % model.size();
    Check(drawn == 1, "a draw from a counted file succeeds");
    Check(std::memchr(sentence.get(), '\0', tolvi::kSentenceBytes) != nullptr, "a drawn sentence is terminated");
    Check(Holds(sentence.get(), model[index]), "the drawn sentence is the model's line at rand15 % count");
  }
  return 0;
}
