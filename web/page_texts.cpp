// The program's texts, handed to the page once at start-up.
#include "web/page_texts.h"

#include <cstddef>
#include <string>

#include "resources/texts.h"
#include "resources/window_layout.h"
#include "web/page.h"

namespace tolvi {

namespace {

struct PageText {
  const char* key;
  const char* text;
};

constexpr PageText kPageTexts[] = {
    {"main.caption", kMainCaption},
    {"ok", kOkText},
    {"name.caption", kNameCaption},
    {"name.prompt", kNamePrompt},
    {"name.label", kNameLabel},
    {"name.cancel", kCancelText},
    {"typing.caption", kTypingCaption},
    {"typing.quit", kQuitText},
    {"result.caption", kResultCaption},
    {"result.length", kLengthLabel},
    {"result.score", kScoreLabel},
    {"result.ok", kResultOkText},
    {"result.retry", kRetryText},
    {"result.highscore", kHighScoreText},
    {"highscore.caption", kHighScoreCaption},
    {"about.caption", kAboutCaption},
    {"version.caption", kVersionCaption},
    {"progress.caption", kProgressCaption},
    {"progress.chart", kProgressChartName},
    {"message.caption", kMessageCaption},
};

// Lines of a list under key.1, key.2 and on.
template <std::size_t kCount>
void HandLines(const char* key, const char* const (&lines)[kCount]) {
  for (std::size_t i = 0; i < kCount; ++i) {
    HandTextToPage((std::string(key) + "." + std::to_string(i + 1)).c_str(), lines[i]);
  }
}

}  // namespace

void HandTextsToPage() {
  for (const PageText& text : kPageTexts) HandTextToPage(text.key, text.text);
  HandLines("rank", kRankTexts);
  HandLines("about", kAboutLines);
  HandLines("version", kVersionLines);
  HandLines("progress.label", kProgressLabels);
  HandLines("progress.legend", kProgressLegend);
  for (const MenuEntry& entry : kMenu) {
    HandMenuEntryToPage(static_cast<int>(entry.place), entry.text, entry.command);
  }
}

}  // namespace tolvi
