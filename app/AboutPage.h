#pragma once
// The content of the "About" page. The page itself (a tiled TBitmapPanel) belongs to the
// main window; everything shown on it is made and driven here.
#include "components/BitmapPanel.h"

namespace app {

class AboutPage {
public:
    // Creates the page's controls on `page`.
    void create(components::TBitmapPanel& page);
    // The page was selected (`shown` true) or another page was (`shown` false).
    void pageChanged(bool shown);
};

} // namespace app
