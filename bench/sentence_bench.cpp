// Counting, drawing and preparing a game over large sentence files, each beside a raw
// pass over the same file (large blocks and memchr), printed as a ratio to it.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "practice/game.h"
#include "practice/random.h"
#include "practice/sentence_source.h"
#include "practice/settings.h"

namespace {

struct SentenceFileSize {
  const char* label;
  const char* file;
  std::size_t bytes;
  bool utf8;  // lines of kana among the ASCII, so the file is read as UTF-8
};
const SentenceFileSize kSizes[] = {{"1MB", "bench-1mb.dat", 1u << 20, false},
                                   {"100MB", "bench-100mb.dat", 100u << 20, false},
                                   {"100MB-utf8", "bench-100mb-u8.dat", 100u << 20, true}};

// A line of printable ASCII of 10 to 78 bytes; or of UTF-8, words of hiragana between
// spaces, and one line in 256 a long one of up to 300 bytes, which the count converts.
std::string MakeLine(std::mt19937& random, bool utf8) {
  std::string line;
  if (!utf8) {
    line.assign(10 + random() % 69, 'a');
    for (char& c : line) c = static_cast<char>(' ' + random() % 95);
    return line + '\n';
  }
  const std::size_t bytes = random() % 256 == 0 ? 79 + random() % 222 : 10 + random() % 69;
  while (line.size() + 3 <= bytes) {
    for (std::size_t kana = 1 + random() % 6; kana > 0 && line.size() + 3 <= bytes; --kana) {
      line += "\xE3\x81";
      line += static_cast<char>(0x81 + random() % 63);
    }
    if (line.size() < bytes) line += ' ';
  }
  return line + '\n';
}

void MakeFile(const SentenceFileSize& size) {
  std::error_code ignored;
  if (std::filesystem::file_size(size.file, ignored) == size.bytes) return;
  std::mt19937 random(7);
  std::ofstream out(size.file, std::ios::binary | std::ios::trunc);
  std::size_t written = 0;
  while (written < size.bytes) {
    std::string line = MakeLine(random, size.utf8);
    if (written + line.size() > size.bytes) line.resize(size.bytes - written);
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
    written += line.size();
  }
}

void UseSentenceFile(const char* name) {
  std::ofstream("Gelvo.ini", std::ios::trunc) << "[Gelvo]\r\nStringFile=" << name << "\r\n";
  tolvi::LoadSettings();
}

void RawPass(benchmark::State& state, const char* file) {
  std::vector<char> block(1u << 20);
  for (auto _ : state) {
    std::FILE* f = std::fopen(file, "rb");
    std::size_t lines = 0, n;
    while ((n = std::fread(block.data(), 1, block.size(), f)) > 0) {
      for (const char *p = block.data(), *end = p + n;
           (p = static_cast<const char*>(std::memchr(p, '\n', end - p))) != nullptr; ++p) {
        ++lines;
      }
    }
    std::fclose(f);
    benchmark::DoNotOptimize(lines);
  }
}

void Count(benchmark::State& state, const char* file) {
  UseSentenceFile(file);
  for (auto _ : state) benchmark::DoNotOptimize(tolvi::CountSentences());
  tolvi::SentenceStream stream(file);
  state.counters["lines"] = tolvi::CountLines(stream);
}

void Draw(benchmark::State& state, const char* file) {
  UseSentenceFile(file);
  tolvi::CountSentences();
  tolvi::SeedRandom(1);
  char sentence[tolvi::kSentenceBytes];
  for (auto _ : state) benchmark::DoNotOptimize(tolvi::DrawSentence(sentence));
}

void Prepare(benchmark::State& state, const char* file) {
  UseSentenceFile(file);
  tolvi::SeedRandom(1);
  for (auto _ : state) benchmark::DoNotOptimize(tolvi::PrepareGame());
}

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration)
        seconds_[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nRatio to one raw pass over the same file (real time):\n");
    for (const SentenceFileSize& size : kSizes) {
      const double raw = Time(std::string("raw_pass/") + size.label);
      for (const char* op : {"CountSentences", "DrawSentence", "PrepareGame"}) {
        const double t = Time(std::string(op) + "/" + size.label);
        if (raw > 0 && t > 0) std::printf("  %-16s %-6s %8.3f\n", op, size.label, t / raw);
      }
    }
    std::printf("Goals on the 100MB files: CountSentences within 1.1, PrepareGame within 1.2.\n");
  }

 private:
  double Time(const std::string& prefix) const {
    for (const auto& [name, t] : seconds_) {
      if (name.rfind(prefix + "/", 0) == 0) return t;
    }
    return 0;
  }
  std::map<std::string, double> seconds_;
};

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "tolvi-bench";
  std::filesystem::create_directories(folder);
  std::filesystem::current_path(folder);
  for (const SentenceFileSize& size : kSizes) {
    MakeFile(size);
    const std::string label = size.label;
    benchmark::RegisterBenchmark(("raw_pass/" + label).c_str(), RawPass, size.file)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(("CountSentences/" + label).c_str(), Count, size.file)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(("DrawSentence/" + label).c_str(), Draw, size.file)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(("PrepareGame/" + label).c_str(), Prepare, size.file)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
