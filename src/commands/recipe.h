#pragma once

// The production line's recipe: the window actions that set up one printer,
// in the order of the table of window actions, and optionally the text that
// a printer's identity must contain to be set up at all. It is kept in a
// section of its own of the settings file, beside ParaDefault, so that
// readers of ParaDefault see the file as before.

#include <string>
#include <vector>

#include "commands/window_actions.h"
#include "texts/ini_file.h"

namespace ombrel {

inline constexpr const char* kRecipeSection = "ProductionLine";

struct Recipe {
  std::vector<std::string> actions;  // control names, in the table's order
  std::string identityFilter;        // empty: every printer
};

// The actions a recipe may hold, in the table's order: every action but
// those that first ask for a file to save to.
std::vector<const WindowAction*> recipeActions();

// Reads the recipe; the stored names are put in the table's order. Raises
// std::invalid_argument naming the first stored name that is no recipe
// action, so that a damaged recipe never sets printers up with an action less;
// its text in `language`.
Recipe loadRecipe(const IniFile& file, int language);
// Writes the recipe into `file` (the caller saves the file).
void saveRecipe(IniFile& file, const Recipe& recipe);

// Whether a printer's identity (its answer to identification) is one the
// recipe sets up; compared without regard to case.
bool recipeTakes(const Recipe& recipe, const std::string& printerIdentity);

}  // namespace ombrel
