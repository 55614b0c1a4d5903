// The program's icon, built into the program from resources/tolvi.png.
#pragma once

namespace tolvi {

// Makes the icon every window of the program shows; without it they show the desktop's.
void SetProgramIcon();

}  // namespace tolvi
