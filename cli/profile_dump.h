#pragma once

#include "model/configuration.h"
#include "model/text_table.h"

#include <ostream>

namespace tarvenor::cli {

// A readable listing of a loaded profile file: header, every entry that is not all zero with
// the caption the windows show for it, and every macro with its actions. Captions, texts and
// names are quoted and escaped as in JSON.
void write_profile_listing(std::ostream& out, const Configuration& config, const TextTable& texts);

// The same as one JSON object with the members header, assignments and macros.
void write_profile_json(std::ostream& out, const Configuration& config);

} // namespace tarvenor::cli
