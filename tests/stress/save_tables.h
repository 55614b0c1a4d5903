// Two full high-score tables, A and B, that tell themselves apart in every byte.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "scores/high_scores.h"

namespace tolvi::stress {

// Filled with the letter first, so even the bytes after each text's zero byte say
// which table a file came from. Scores fall by 10 from top.
inline HighScoreTable FullTable(char letter, double top) {
  HighScoreTable table;
  std::memset(table.data(), letter, sizeof table);
  for (int i = 0; i < kHighScoreEntries; ++i) {
    HighScoreEntry& entry = table[i];
    const std::string name = std::string(1, letter) + "-player" + std::to_string(i);
    const std::string date = "Table " + std::string(1, letter) + " entry " + std::to_string(i);
    std::memcpy(entry.name.data(), name.c_str(), name.size() + 1);
    std::memcpy(entry.date.data(), date.c_str(), date.size() + 1);
    const double score = top - 10.0 * i;
    std::uint64_t bits;
    std::memcpy(&bits, &score, sizeof bits);
    for (unsigned char& byte : entry.score) {
      byte = static_cast<unsigned char>(bits & 0xFF);
      bits >>= 8;
    }
  }
  return table;
}

inline std::string ImageOf(const HighScoreTable& table) {
  return {reinterpret_cast<const char*>(table.data()), sizeof table};
}

}  // namespace tolvi::stress
