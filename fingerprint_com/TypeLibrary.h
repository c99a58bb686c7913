#pragma once

#include "TypeInfo.h"

// The server's type library TRIVANECOMLib 1.0: the APIInterface class and its dual interface
// IAPIInterface with the dispatch identifiers late-bound callers resolve.
namespace trivane {

const automation::TypeLibraryInfo& TypeLibrary();
const automation::InterfaceInfo& IAPIInterfaceInfo();

} // namespace trivane
