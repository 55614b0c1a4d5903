// The title picture, built into the program from resources/title.bmp.
#pragma once

#include <gdk-pixbuf/gdk-pixbuf.h>

#include "gtk/holders.h"

namespace tolvi {

// A new picture of the title, or null when there is no memory for one.
ObjectPtr<GdkPixbuf> NewTitlePicture();

}  // namespace tolvi
