#pragma once

// The NV logo options of ombrelctl: the run's logo list and its selection,
// how pictures become black and white, and the preview of the selected logo.

#include "cli/options.h"
#include "settings/para_controls.h"

namespace ombrel::cli {

// Puts --logo, --logo-select, --logo-threshold and --logo-dither into the
// controls the logo actions read. UsageError for a selection beyond the list.
void applyLogoOptions(const Options& options, ParaControls& controls);

// Writes --logo-preview, when given, from the selected picture. UsageError
// with no selection; ECommonError when the picture cannot be read or the
// PNG cannot be written.
void writeLogoPreview(const Options& options, const ParaControls& controls);

}  // namespace ombrel::cli
