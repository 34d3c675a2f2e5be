#pragma once

// ombrelctl --recipe: the production line's recipe, as the window saved it
// in the settings file, run on the printer of the link, or with
// --each-arrival on every USB printer that arrives. The recipe runs through
// the same core as the production line window; each printer's row goes to
// the provisioning log (--log) beside its device writes.

#include "cli/each_arrival.h"
#include "commands/recipe.h"

namespace ombrel::cli {

// The saved recipe; raises UsageError when it holds no action or names one
// that is no recipe action, its text in `language`.
Recipe savedRecipe(const SettingsSession& settings, int language);

// Runs the recipe on the printer the tasks go to. Returns 0 when it passed,
// 1 when a task failed, the printer left or Ctrl-C stopped it, 2 when an
// action refused its values or the printer's identity does not contain the
// recipe's text, 3 when no printer answered.
int runRecipe(ActionContext& context, const Recipe& recipe);

// The set-up of every arriving printer: the recipe; a printer the recipe
// does not take is passed over.
std::function<SetUpEnd(ActionContext&)> recipeSetUp(const Recipe& recipe);

}  // namespace ombrel::cli
