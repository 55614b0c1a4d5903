// The sentence file name, read once from the settings file.
#include "practice/settings.h"

#include <array>

#include "base/profile.h"
#include "base/text_format.h"

namespace tolvi {
namespace {
std::array<char, kSentenceFileNameBytes> g_sentence_file = [] {
  std::array<char, kSentenceFileNameBytes> name{};
  AppendText(name.data(), name.size(), 0, kDefaultSentenceFile);
  return name;
}();
}

int LoadSettings() {
  ReadProfileString("Gelvo", "StringFile", kDefaultSentenceFile, g_sentence_file.data(),
                    g_sentence_file.size(), kSettingsFile);
  return 1;
}

const char* SentenceFileName() { return g_sentence_file.data(); }

}  // namespace tolvi
