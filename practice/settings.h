// The one setting: which file holds the sentences.
#pragma once

#include <cstddef>

namespace tolvi {

constexpr std::size_t kSentenceFileNameBytes = 20;
constexpr char kSettingsFile[] = "./Gelvo.ini";
constexpr char kDefaultSentenceFile[] = "string.dat";

// Reads StringFile from the settings file; a missing file, section or key leaves
// the default. Always 1.
int LoadSettings();

const char* SentenceFileName();

}  // namespace tolvi
