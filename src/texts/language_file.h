#pragma once

// Applying a language file (English.lng or Chinese.lng): window captions,
// control captions and hints, the option lists and the keyed messages.
// Every text read defaults to the current one, so a missing file, section or
// key changes nothing and raises nothing, and a file applied after another
// changes only what it names.

#include <filesystem>
#include <string>
#include <vector>

#include "texts/caption_target.h"
#include "texts/item_texts.h"
#include "texts/message_texts.h"

namespace ombrel {

// "English.lng" for index 1, "Chinese.lng" for any other index.
std::string languageFileName(int index);

// Applies the file at `path`: for each window (main window first, then the
// parameters window) its section's "Caption", "<control>.Caption" and
// "<control>.Hint" (a caption, text or hint that is empty is left alone),
// then the twelve option lists, then the messages of section "String".
void applyLanguageFile(const std::filesystem::path& path, const std::vector<CaptionTarget*>& windows,
                       ItemTexts& items = itemTexts(), MessageTexts& messages = messageTexts());

// Applies the language file of `index` from the first of `directories` that
// holds it (the program directory first); with none, nothing changes. The
// option lists of both language files found there become known texts of
// their items (ItemTexts::knownPosition), whichever language is applied.
void applyLanguage(int index, const std::vector<std::filesystem::path>& directories,
                   const std::vector<CaptionTarget*>& windows, ItemTexts& items = itemTexts(),
                   MessageTexts& messages = messageTexts());

}  // namespace ombrel
