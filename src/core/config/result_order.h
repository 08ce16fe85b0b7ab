#pragma once

namespace orvan {

// How the search window orders the catalog's matches: by name, or by how well they fit the
// typed text and what the user started before. The other rows keep their places either way.
enum class ResultOrder { Name, Relevance };

} // namespace orvan
