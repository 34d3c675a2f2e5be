#pragma once

// The built-in (Chinese) hints of both windows' controls: what each sets, its
// range or format and its unit, and why a control that is disabled by design
// is. The language files replace them under "<control>.Hint".

#include <QWidget>
#include <map>
#include <string_view>
#include <vector>

namespace ombrel::app {

using HintTable = std::map<std::string_view, std::string_view>;

const HintTable& mainWindowHints();
const HintTable& paraWindowHints();
const HintTable& lineWindowHints();

// Gives each of `controls` that `hints` names its hint.
void giveHints(const std::vector<QWidget*>& controls, const HintTable& hints);

}  // namespace ombrel::app
