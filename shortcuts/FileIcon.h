#pragma once
// An icon location: the file holding the icon and the icon's index in it.
#include "shortcuts/Persistent.h"

#include <string>

namespace shortcuts {

class TFileIcon : public TPersistent {
public:
    const std::wstring& FileName() const { return fileName_; }
    void SetFileName(const std::wstring& value) { fileName_ = value; }
    int IconIndex() const { return iconIndex_; }
    void SetIconIndex(int value) { iconIndex_ = value; }

    // Copies FileName, then IconIndex. A source of any other class raises EInvalidCast.
    void Assign(const TPersistent& source);

private:
    std::wstring fileName_;
    int iconIndex_ = 0;
};

} // namespace shortcuts
