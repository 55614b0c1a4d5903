// Opening the progress window over a long history beside one raw pass over the same file,
// the peak heap of that reading for a short and a long history, and recording a game into
// an empty history beside one of a hundred thousand games.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <random>
#include <string>

#include "base/code_page.h"
#include "base/file.h"
#include "bench/bench.h"
#include "practice/game.h"
#include "practice/history.h"
#include "practice/progress.h"

// Every allocation of this program counted, so the reading's peak can be told.
namespace {
std::atomic<std::size_t> g_heap{0};
std::atomic<std::size_t> g_peak{0};
}  // namespace

void* operator new(std::size_t size) {
  void* p = std::malloc(size + 16);
  if (p == nullptr) throw std::bad_alloc();
  *static_cast<std::size_t*>(p) = size;
  const std::size_t now = g_heap += size;
  std::size_t peak = g_peak;
  while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
  }
  return static_cast<char*>(p) + 16;
}
void operator delete(void* p) noexcept {
  if (p == nullptr) return;
  void* block = static_cast<char*>(p) - 16;
  g_heap -= *static_cast<std::size_t*>(block);
  std::free(block);
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }
void operator delete[](void* p, std::size_t) noexcept { operator delete(p); }

namespace {

constexpr const char* kLongHistory = "history-100k.csv";
constexpr const char* kShortHistory = "history-1k.csv";
constexpr const char* kNames[] = {"Kaori", "山田", "Ken", "さくら"};
// What a game with misses missed: a character for each wrong entry that fell short of its
// sentence, none for one that ran on past it.
constexpr const char* kMissed[] = {"\"\"", "\"あ\"", "\"x\"", "\"が\"", "\"e\""};

// A line as a player's weeks leave them: the date moving on, four players, Japanese
// sentences' lengths, speeds and misses.
std::string HistoryLine(std::mt19937& random, int i) {
  char line[160];
  const int day = 1 + i / 400 % 28;
  const int length = 120 + static_cast<int>(random() % 180);
  const double seconds = 30 + static_cast<double>(random() % 90000) / 1000;
  const int misses = static_cast<int>(random() % 4);
  const char* missed = misses == 0 ? "\"\"" : kMissed[random() % 5];
  std::snprintf(line, sizeof line, "2026-%02d-%02dT%02d:%02d:%02d+09:00,%s,%d,%.3f,%.2f,%d,%s\r\n",
                1 + i / 11200 % 12, day, static_cast<int>(random() % 24),
                static_cast<int>(random() % 60), static_cast<int>(random() % 60),
                kNames[random() % 4], length, seconds, length * 60 / seconds, misses, missed);
  return line;
}

void MakeHistory(const char* file, int games) {
  std::mt19937 random(11);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << tolvi::kByteOrderMark << tolvi::kHistoryHeader << "\r\n";
  for (int i = 0; i < games; ++i) out << HistoryLine(random, i);
}

void ReadHistory(benchmark::State& state, const char* file) {
  for (auto _ : state) {
    tolvi::File stream{std::fopen(file, "rb")};
    benchmark::DoNotOptimize(tolvi::ReadProgress(stream.get(), "Kaori").games);
  }
  tolvi::File stream{std::fopen(file, "rb")};
  state.counters["games"] = static_cast<double>(tolvi::ReadProgress(stream.get(), "Kaori").games);
}

// The peak of the heap while one reading of the file runs, above what was there before.
std::size_t PeakOfReading(const char* file) {
  tolvi::File stream{std::fopen(file, "rb")};
  const std::size_t before = g_heap;
  g_peak = before;
  benchmark::DoNotOptimize(tolvi::ReadProgress(stream.get(), "Kaori").games);
  return g_peak - before;
}

tolvi::GameState AGame() {
  tolvi::GameState game;
  game.total_length = 196;
  game.timer_end = 61.25;
  game.misses = 2;
  game.missed = "\xE3\x81\x82\xE3\x81\x8C";
  return game;
}

// Into the working folder's history.csv: one of no games (its mark and header alone, made
// so again before each), or a long one.
void Record(benchmark::State& state, bool empty) {
  const std::string header =
      std::string(tolvi::kByteOrderMark) + std::string(tolvi::kHistoryHeader) + "\r\n";
  if (empty) {
    std::ofstream(tolvi::kHistoryFile, std::ios::binary | std::ios::trunc) << header;
  } else {
    std::filesystem::copy_file(kLongHistory, tolvi::kHistoryFile,
                               std::filesystem::copy_options::overwrite_existing);
  }
  const tolvi::GameState game = AGame();
  for (auto _ : state) {
    if (empty) {
      state.PauseTiming();
      std::filesystem::resize_file(tolvi::kHistoryFile, header.size());
      state.ResumeTiming();
    }
    benchmark::DoNotOptimize(tolvi::RecordGame(game, "Kaori", {1796739382, 32400}));
  }
  std::filesystem::remove(tolvi::kHistoryFile);
}

}  // namespace

void RegisterHistoryBenchmarks() {
  MakeHistory(kLongHistory, 100000);
  MakeHistory(kShortHistory, 1000);
  benchmark::RegisterBenchmark("raw_pass/history", RawPass, kLongHistory)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("ReadProgress/history", ReadHistory, kLongHistory)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("RecordGame/empty", Record, true)
      ->Unit(benchmark::kMicrosecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("RecordGame/100k", Record, false)
      ->Unit(benchmark::kMicrosecond)
      ->UseRealTime();
}

void PrintHistoryFigures(double (*time_of)(const std::string& name)) {
  const double raw = time_of("raw_pass/history");
  const double read = time_of("ReadProgress/history");
  std::printf(
      "\nThe progress window over 100,000 games (%.1f MB; a raw pass reads it at %.1f GB/s):\n",
      static_cast<double>(std::filesystem::file_size(kLongHistory)) / 1e6,
      raw > 0 ? static_cast<double>(std::filesystem::file_size(kLongHistory)) / raw / 1e9 : 0.0);
  if (raw > 0 && read > 0) {
    std::printf("  ReadProgress to one raw pass      %8.3f   (goal at most 5)\n", read / raw);
  }
  const std::size_t short_peak = PeakOfReading(kShortHistory);
  const std::size_t long_peak = PeakOfReading(kLongHistory);
  std::printf("  peak heap of reading 1,000 games  %8zu KiB\n", short_peak / 1024);
  std::printf("  peak heap of reading 100,000      %8zu KiB   (goal within 1024 KiB of it)\n",
              long_peak / 1024);
  const double empty = time_of("RecordGame/empty");
  const double full = time_of("RecordGame/100k");
  if (empty > 0 && full > 0) {
    std::printf(
        "  RecordGame, 100,000 games to none %8.3f   (goal 1, within noise; %.0f us and %.0f us)\n",
        full / empty, full * 1e6, empty * 1e6);
  }
}
