#include "shortcuts/FileIcon.h"

namespace shortcuts {

void TFileIcon::Assign(const TPersistent& source) {
    const auto* icon = dynamic_cast<const TFileIcon*>(&source);
    if (!icon)
        throw EInvalidCast();
    if (icon == this)
        return;
    fileName_ = icon->fileName_;
    iconIndex_ = icon->iconIndex_;
}

} // namespace shortcuts
