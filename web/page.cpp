// What the program asks of its page, through the functions of the page's program.js. A
// call that waits suspends the program until the page answers, so the game runs unchanged.
#include "web/page.h"

#include <emscripten/emscripten.h>

#include <vector>

// clang-format off
EM_JS(void, tolvi_page_text, (const char* key, const char* text), {
  Module.page.text(UTF8ToString(key), UTF8ToString(text));
});

EM_JS(void, tolvi_page_menu_entry, (int place, const char* text, int command), {
  Module.page.menuEntry(place, text ? UTF8ToString(text) : "", command);
});

EM_ASYNC_JS(void, tolvi_page_splash, (int milliseconds), {
  await Module.page.splash(milliseconds);
});

EM_JS(void, tolvi_page_show_main, (), {
  Module.page.showMain();
});

EM_ASYNC_JS(int, tolvi_page_next_command, (), {
  return await Module.page.nextCommand();
});

// The fields are read before the wait, while the pointers still mean what they meant.
EM_ASYNC_JS(int, tolvi_page_dialog, (const char* name, const int* ids, const char* const* texts,
                                     int count), {
  const fields = new Map();
  for (let i = 0; i < count; ++i) {
    fields.set(HEAP32[(ids >> 2) + i], UTF8ToString(HEAPU32[(texts >> 2) + i]));
  }
  return await Module.page.dialog(UTF8ToString(name), fields);
});

EM_JS(int, tolvi_page_entry_bytes, (), {
  return lengthBytesUTF8(Module.page.entry());
});

EM_JS(void, tolvi_page_entry_copy, (char* out, int size), {
  stringToUTF8(Module.page.entry(), out, size);
});

EM_JS(void, tolvi_page_end, (), {
  Module.page.end();
});
// clang-format on

namespace tolvi {

void HandTextToPage(const char* key, const char* text) { tolvi_page_text(key, text); }

void HandMenuEntryToPage(int place, const char* text, int command) {
  tolvi_page_menu_entry(place, text, command);
}

void ShowSplashOnPage(int milliseconds) { tolvi_page_splash(milliseconds); }

void ShowMainWindowOnPage() { tolvi_page_show_main(); }

int NextCommandFromPage() { return tolvi_page_next_command(); }

int RunPageDialog(const char* name, const PageField* fields, int count) {
  std::vector<int> ids;
  std::vector<const char*> texts;
  for (int i = 0; i < count; ++i) {
    ids.push_back(fields[i].id);
    texts.push_back(fields[i].text.c_str());
  }
  return tolvi_page_dialog(name, ids.data(), texts.data(), count);
}

std::string PageEntryText() {
  // The terminator that the copy writes takes the last byte.
  std::string text(static_cast<std::size_t>(tolvi_page_entry_bytes()) + 1, '\0');
  tolvi_page_entry_copy(text.data(), static_cast<int>(text.size()));
  text.pop_back();
  return text;
}

void EndOnPage() { tolvi_page_end(); }

}  // namespace tolvi
