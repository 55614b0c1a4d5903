// Entry point of the browser program: the splash, the main window and its commands, one at
// a time, until the player quits. The page has taken the one-copy lock and read the
// player's folder into the working directory before this runs.
#include <emscripten/emscripten.h>

#include <cstdint>

#include "base/code_page.h"
#include "practice/game.h"
#include "practice/random.h"
#include "practice/settings.h"
#include "resources/window_layout.h"
#include "web/commands.h"
#include "web/page.h"
#include "web/page_texts.h"

int main() {
  // The code page's tables come from the page's decoder; made while the splash shows, they
  // keep the first game and the first dialog from waiting for them.
  tolvi::Cp932DoubleBitsOfBmp();
  tolvi::ShowSplashOnPage(tolvi::kSplashMillis);
  tolvi::HandTextsToPage();
  tolvi::ShowMainWindowOnPage();

  tolvi::PlayerName()[0] = '\0';
  // The page's clock counts from its load, as the Windows tick count does from the system's.
  tolvi::SeedRandom(static_cast<std::uint32_t>(emscripten_get_now()));
  tolvi::LoadSettings();

  while (tolvi::RunCommand(tolvi::NextCommandFromPage())) {
  }
  tolvi::EndOnPage();
  return 0;
}
