#include "commands/recipe.h"

#include "commands/recipe_texts.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <stdexcept>

namespace ombrel {

namespace {

constexpr const char* kActionsKey = "Actions";
constexpr const char* kIdentityKey = "OnlyIdentity";

std::string upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

std::vector<const WindowAction*> recipeActions() {
  std::vector<const WindowAction*> offered;
  for (const WindowAction& action : windowActions()) {
    if (action.kind != WindowAction::Kind::SaveButton) offered.push_back(&action);
  }
  return offered;
}

Recipe loadRecipe(const IniFile& file, int language) {
  Recipe recipe;
  recipe.identityFilter = file.readString(kRecipeSection, kIdentityKey, "");
  std::istringstream stored(file.readString(kRecipeSection, kActionsKey, ""));
  std::vector<std::string> names;
  for (std::string name; std::getline(stored, name, ',');) {
    name.erase(0, name.find_first_not_of(' '));
    name.erase(name.find_last_not_of(' ') + 1);
    if (!name.empty()) names.push_back(name);
  }
  const auto offered = recipeActions();
  for (const std::string& name : names) {
    const bool known = std::any_of(offered.begin(), offered.end(),
                                   [&](const WindowAction* action) { return name == action->control; });
    if (!known) throw std::invalid_argument(unknownRecipeActionText(name, language));
  }
  for (const WindowAction* action : offered) {
    if (std::find(names.begin(), names.end(), action->control) != names.end())
      recipe.actions.push_back(action->control);
  }
  return recipe;
}

void saveRecipe(IniFile& file, const Recipe& recipe) {
  std::string names;
  for (const std::string& name : recipe.actions) names += (names.empty() ? "" : ",") + name;
  file.writeString(kRecipeSection, kActionsKey, names);
  file.writeString(kRecipeSection, kIdentityKey, recipe.identityFilter);
}

bool recipeTakes(const Recipe& recipe, const std::string& printerIdentity) {
  return upper(printerIdentity).find(upper(recipe.identityFilter)) != std::string::npos;
}

}  // namespace ombrel
