#include "ui/library_search.h"

namespace pp {

void RestrictLibrarySearch() {}

} // namespace pp
