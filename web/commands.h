// The commands of the main window, from its menu bar and its keys.
#pragma once

namespace tolvi {

// Carries out command to its end. False when the program is to quit.
bool RunCommand(int command);

}  // namespace tolvi
