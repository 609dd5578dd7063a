#pragma once
// The clean run: every area the choices ask for, in its fixed order, then the choices are
// stored. The same for "&Go!" and for a silent start.
#include "engine/Choices.h"

#include <functional>

namespace engine {

// First `beforeDeleting` (the orphaned-shortcut step, when given), so nothing is deleted
// before the user has seen what the scans found; then the Windows temporary folder, the
// recycle bins and the recent documents, each when chosen, and the ticked user folders
// always last; then Choices::Save. Failures inside an area pass in silence; an error that
// escapes a step ends the run there, before the choices are stored.
void RunClean(const Choices& choices, const std::function<void()>& beforeDeleting = {});

} // namespace engine
