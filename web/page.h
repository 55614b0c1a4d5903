// What the program asks of its page: the windows it shows and the commands it waits for.
#pragma once

#include <string>
#include <string_view>

namespace tolvi {

// A control's text when a dialog opens, in UTF-8.
struct PageField {
  int id;
  std::string text;
};

// Hands the page a text it shows under key, in UTF-8.
void HandTextToPage(const char* key, const char* text);

// Hands the page one entry of the menu bar, in order; text is null for a separator.
void HandMenuEntryToPage(int place, const char* text, int command);

// Returns milliseconds after the page first drew the title picture.
void ShowSplashOnPage(int milliseconds);

// Puts the main window where the splash stood and gives it the focus.
void ShowMainWindowOnPage();

// Waits until the player gives the main window a command; returns its id.
int NextCommandFromPage();

// Shows the page's dialog of that name modally over the main window, with count fields
// set, until it ends; returns what it ended with.
int RunPageDialog(const char* name, const PageField* fields, int count);

// What the entry of the last dialog that had one held when it ended, as typed.
std::string PageEntryText();

// The main window goes and the page says the program has ended.
void EndOnPage();

}  // namespace tolvi
