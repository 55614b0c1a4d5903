// Counting, drawing and preparing a game over large sentence files, each beside a raw
// pass over the same file (large blocks and memchr), printed as a ratio to it.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "bench/bench.h"
#include "practice/game.h"
#include "practice/random.h"
#include "practice/sentence_source.h"
#include "practice/settings.h"

namespace {

struct SentenceFileSize {
  const char* label;
  const char* file;
  std::size_t bytes;
  bool utf8;  // Japanese sentences in UTF-8
};
const SentenceFileSize kSizes[] = {{"1MB", "bench-1mb.dat", 1u << 20, false},
                                   {"100MB", "bench-100mb.dat", 100u << 20, false},
                                   {"100MB-utf8", "bench-100mb-ja.dat", 100u << 20, true}};

// Common kanji, each with a double-byte form in code page 932.
constexpr std::string_view kKanji =
    "日本語文章打練習時間今年明後前上下左右大小中人子女男学生先名国会社長手足目耳口心気天"
    "雨雪花草木森林山川田水火金土月週曜朝昼夜電車道駅店品物食飲話読書聞見行来帰出入休働"
    "知思言使作始終開閉立座歩走強弱高安新古多少早近遠重軽暑寒白黒赤青色音楽歌絵映画写真"
    "旅方法意味理由問題答計算数字英漢会議資料説明準備連絡予定確認変更送信受付発表";
constexpr std::string_view kPunctuation = "、・「」！？ー";

// One character of a UTF-8 text of three-byte characters, at random.
std::string_view Pick(std::mt19937& random, std::string_view three_byte_characters) {
  return three_byte_characters.substr(3 * (random() % (three_byte_characters.size() / 3)), 3);
}

// A Japanese sentence of 15 to 60 characters, runs of kanji, hiragana and katakana with
// some punctuation, ended by 。: three lines in four are longer than 79 bytes of UTF-8.
std::string MakeJapaneseLine(std::mt19937& random) {
  std::string line;
  const std::size_t characters = 15 + random() % 46;
  for (std::size_t n = 0; n + 1 < characters;) {
    for (std::size_t run = 1 + random() % 4; run > 0 && n + 1 < characters; --run, ++n) {
      switch (random() % 8) {
        case 0:
        case 1:
        case 2: line += Pick(random, kKanji); break;
        case 3:
          line += "\xE3\x82" + std::string(1, static_cast<char>(0xA1 + random() % 0x19));
          break;
        case 7: line += Pick(random, kPunctuation); break;
        default:
          line += "\xE3\x81" + std::string(1, static_cast<char>(0x81 + random() % 0x3F));
          break;
      }
    }
  }
  return line + "\xE3\x80\x82\n";
}

// A line of printable ASCII of 10 to 78 bytes, or a Japanese sentence in UTF-8.
std::string MakeLine(std::mt19937& random, bool utf8) {
  if (utf8) return MakeJapaneseLine(random);
  std::string line(10 + random() % 69, 'a');
  for (char& c : line) c = static_cast<char>(' ' + random() % 95);
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

}  // namespace

void RawPass(benchmark::State& state, const char* file) {
  // At a page's start: some processors copy into a block a few bytes into a cache line at a
  // third of the speed.
  constexpr std::size_t kBlockBytes = 1u << 20;
  std::unique_ptr<char, decltype(&std::free)> block(
      static_cast<char*>(std::aligned_alloc(4096, kBlockBytes)), &std::free);
  for (auto _ : state) {
    std::FILE* f = std::fopen(file, "rb");
    std::size_t lines = 0, n;
    while ((n = std::fread(block.get(), 1, kBlockBytes, f)) > 0) {
      for (const char *p = block.get(), *end = p + n;
           (p = static_cast<const char*>(std::memchr(p, '\n', end - p))) != nullptr; ++p) {
        ++lines;
      }
    }
    std::fclose(f);
    benchmark::DoNotOptimize(lines);
  }
}

namespace {

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

std::map<std::string, double> g_seconds;

// The real time of the benchmark of that name, whatever its arguments' suffix.
double TimeOf(const std::string& prefix) {
  for (const auto& [name, t] : g_seconds) {
    if (name.rfind(prefix + "/", 0) == 0 || name == prefix) return t;
  }
  return 0;
}

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration)
        g_seconds[run.benchmark_name()] = run.GetAdjustedRealTime() * Seconds(run.time_unit);
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nRatio to one raw pass over the same file (real time):\n");
    for (const SentenceFileSize& size : kSizes) {
      const double raw = TimeOf(std::string("raw_pass/") + size.label);
      for (const char* op : {"CountSentences", "DrawSentence", "PrepareGame"}) {
        const double t = TimeOf(std::string(op) + "/" + size.label);
        if (raw > 0 && t > 0) std::printf("  %-16s %-6s %8.3f\n", op, size.label, t / raw);
      }
    }
    std::printf(
        "Goals on the 100MB files: CountSentences and PrepareGame within 1.2 (ASCII), 1.5 "
        "(UTF-8).\n");
    PrintHistoryFigures(TimeOf);
  }

 private:
  static double Seconds(benchmark::TimeUnit unit) {
    switch (unit) {
      case benchmark::kNanosecond: return 1e-9;
      case benchmark::kMicrosecond: return 1e-6;
      case benchmark::kMillisecond: return 1e-3;
      default: return 1;
    }
  }
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
  RegisterHistoryBenchmarks();
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
