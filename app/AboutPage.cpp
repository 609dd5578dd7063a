#include "app/AboutPage.h"

namespace app {

// The logo, the credits, the address block and the web link come with their own work.
void AboutPage::create(components::TBitmapPanel&) {}

void AboutPage::pageChanged(bool) {}

} // namespace app
