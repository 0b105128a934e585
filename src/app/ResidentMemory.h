#pragma once

#include <cstddef>

namespace quorva {

// Lets go of the pages this process holds only because it once read them from its program and
// libraries: every mapping of a file that nobody may write and that has no page of its own
// (no private or shared dirty page). Such a page is the file's content and nothing else, so
// dropping it loses nothing; one still needed is read back from the page cache when next used.
// After the window's scene is gone, most of what the Qt Quick libraries brought in is such pages.
// Returns how many bytes of mappings were released; 0 where the platform offers no way to tell.
std::size_t releaseCleanFilePages();

} // namespace quorva
