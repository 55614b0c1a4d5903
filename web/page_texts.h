// The program's texts, handed to the page once at start-up.
#pragma once

namespace tolvi {

// Every caption, label, button and menu entry, under the keys the page's dialogs name.
void HandTextsToPage();

}  // namespace tolvi
