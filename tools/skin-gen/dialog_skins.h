#pragma once

#include "dialog_skin.h"

namespace tarvenor::skin {

// The assignment dialog's five picture sets, one per page (macro2: the macro-only mode).
enum class Page { Key, Macro, Macro2, Media, Function };

inline constexpr QSize kAssignmentSize(560, 436);
inline constexpr QSize kProfileSize(480, 344);
inline constexpr QSize kRulesSize(480, 420);
inline constexpr QSize kRuleAddSize(420, 236);

DialogSkin assignment_skin(Page page);
DialogSkin profile_skin();
DialogSkin rules_skin();
DialogSkin rule_add_skin();

} // namespace tarvenor::skin
