// The high-score list and the About and Version boxes.
#include <iterator>
#include <vector>

#include "base/code_page.h"
#include "resources/resource.h"
#include "scores/high_scores.h"
#include "web/dialogs.h"
#include "web/page.h"

namespace tolvi {

int ShowHighScoreDialog() {
  std::vector<PageField> fields;
  for (int i = 0; i < kHighScoreEntries; ++i) {
    const ShownEntry shown = EntryShown(i);
    fields.push_back({IDC_HS_NAME1 + 2 * i, Cp932ToUtf8(shown.name)});
    fields.push_back({IDC_HS_SCORE1 + 2 * i, Cp932ToUtf8(shown.score)});
  }
  return RunPageDialog("highscore", fields.data(), static_cast<int>(fields.size()));
}

int ShowAboutDialog() { return RunPageDialog("about", nullptr, 0); }

int ShowVersionDialog() { return RunPageDialog("version", nullptr, 0); }

}  // namespace tolvi
