#pragma once
// The first step of every component property setter: an unchanged value is not stored
// again, so it costs no repaint and no new layout.
namespace ui {

// Stores `value` in `field` when it differs; true when it did.
template <class T> bool storeChanged(T& field, const T& value) {
    if (field == value)
        return false;
    field = value;
    return true;
}

} // namespace ui
