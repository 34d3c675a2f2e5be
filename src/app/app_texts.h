#pragma once

// The desktop program's own short texts, which the language files do not
// carry: one Chinese and one English form, chosen by the language index of
// the main window's language list (1 English, anything else Chinese).

#include <string>

namespace ombrel::app {

// A rate box holds something that is not a whole number.
std::string notWholeNumberText(int language, const std::string& box, const std::string& text);
// A task was asked for while another one runs.
std::string taskRunningText(int language);
// The name of a rate box in notWholeNumberText.
std::string devRateName(int language);
std::string tranRateName(int language);
// What the status bar shows while the action captioned so runs.
std::string runningText(const std::string& caption);
// The questions before closing the parameters window during a transfer and
// before restoring the printer's defaults.
std::string closeDuringTransferQuestion(int language);
std::string restoreDefaultsQuestion(int language);
// The status bar's short notice while the printer's replies go unchecked.
std::string repliesUncheckedNotice(int language);

// The production line window: no action is ticked; the station waits; the
// printer on `link` is being set up; why a printer did not pass.
std::string emptyRecipeText(int language);
std::string waitingForPrintersText(int language);
std::string settingUpText(int language, const std::string& link);
std::string removedDuringRecipeText(int language);
std::string stoppedText(int language);
std::string notMatchedText(int language);
// A slot's tile: its printer waits for a free slot; the button that sets a
// failed printer up again.
std::string waitingForSlotText(int language);
std::string retryText(int language);

}  // namespace ombrel::app
