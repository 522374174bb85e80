#pragma once

#include "apps/headless/ScriptVerb.h"

namespace mebrox {

// The lines of mebrox-run's scripts, what a person does to a running application; the studio
// takes them too.
const TScriptVerbTable& RunVerbs();

}  // namespace mebrox
