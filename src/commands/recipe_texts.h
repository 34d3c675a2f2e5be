#pragma once

// The production line's own texts, shared by the window and ombrelctl's
// station: one Chinese and one English form, chosen by the language index
// (1 English, anything else Chinese) as the window's language list has it.

#include <string>

#include "commands/window_action.h"

namespace ombrel {

// Why a recipe step did not start: the refusal's own text, or for a list
// without a chosen item the list's name.
std::string recipeRefusalText(const Refusal& refusal, int language);
// The recipe stored names an action that none of the table has.
std::string unknownRecipeActionText(const std::string& action, int language);
// The recipe holds no action (`where`: the settings file).
std::string emptyStoredRecipeText(const std::string& where, int language);
// The printer's identity does not contain the recipe's text.
std::string notMatchedPrinterText(const std::string& identity, const std::string& filter, int language);
// The printer was unplugged during its recipe.
std::string printerLeftText(int language);
// ombrelctl's lines as its station starts waiting, and as each USB printer
// arrives and ends.
std::string waitingForUsbPrintersText(int language);
std::string printerArrivedText(const std::string& identity, int language);
std::string printerSetUpText(const std::string& identity, bool setUp, int language);

// Why a station does not start with DeviceSerialNo and its direction as they are.
std::string serialNumberEmptyText(int language);
std::string serialNumberNotANumberText(const std::string& serial, int language);
std::string serialNumberLeavesRangeText(const std::string& serial, int language);
std::string serialDirectionMissingText(int language);
// Another station process holds the program directory `dir`.
std::string stationLockedText(const std::string& dir, int language);
// The allocator has no serial number left for a device write.
std::string noSerialNumberLeftText(int language);
// The line's server cannot be reached: no device write starts.
std::string lineDatabaseUnreachableText(int language);
// The record of a number a killed station held: its printer's answer never came.
std::string stationStoppedBeforeAnswerText(int language);

}  // namespace ombrel
