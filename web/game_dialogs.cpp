// The name, typing and result dialogs, and the box that says no sentence could be read.
#include <cstdio>
#include <iterator>
#include <string>

#include "base/code_page.h"
#include "base/text_format.h"
#include "practice/game.h"
#include "resources/resource.h"
#include "resources/texts.h"
#include "web/dialogs.h"
#include "web/page.h"

namespace tolvi {

namespace {

constexpr int kLengthTextBytes = 16;

static_assert(kOutcomeOk == kOkId && kOutcomeCancel == kCancelId &&
                  kOutcomeHighScore == IDC_RESULT_HIGHSCORE && kOutcomeRetry == IDC_RESULT_RETRY,
              "the result dialog ends with its button's id, which is the outcome");

}  // namespace

int ShowNameDialog() {
  // Starts empty even when a name is set, so change-user always asks afresh.
  const int response = RunPageDialog("name", nullptr, 0);
  if (response == kOkId) CopyUtf8AsCp932(PageEntryText(), PlayerName(), kPlayerNameBytes);
  return response;
}

int ShowTypingDialog() {
  GameState& game = Game();
  // A rejected entry comes back, selected, so what is typed next replaces it.
  const PageField fields[] = {
      {IDC_TYPING_LABEL, SlotLabel(game.slot)},
      {IDC_TYPING_SENTENCE, Cp932ToUtf8(game.sentences[game.slot].data())},
      {IDC_TYPING_INPUT, Cp932ToUtf8(game.typed[game.slot].data())},
  };
  const int response = RunPageDialog("typing", fields, std::size(fields));
  if (response == kOkId) {
    CopyUtf8AsCp932(PageEntryText(), game.typed[game.slot].data(), kTypedReadBytes);
  }
  return response;
}

int ShowResultDialog() {
  const GameState& game = Game();
  char length_text[kLengthTextBytes];
  std::snprintf(length_text, sizeof length_text, "%d", static_cast<int>(game.total_length));
  const PageField fields[] = {
      {IDC_RESULT_NAME, Cp932ToUtf8(PlayerName())},
      {IDC_RESULT_LENGTH, length_text},
      {IDC_RESULT_SPEED, Cp932ToUtf8(game.speed_text.data())},
  };
  return RunPageDialog("result", fields, std::size(fields));
}

void ShowNoSentencesBox(const char* sentence_file) {
  const std::string name = Cp932ToUtf8(sentence_file);
  const int length = std::snprintf(nullptr, 0, kNoSentencesFormat, name.c_str());
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  std::snprintf(text.data(), text.size(), kNoSentencesFormat, name.c_str());
  text.pop_back();
  const PageField fields[] = {{IDC_STATIC, text}};
  RunPageDialog("message", fields, std::size(fields));
}

}  // namespace tolvi
