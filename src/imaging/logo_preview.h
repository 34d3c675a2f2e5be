#pragma once

// A logo's dots as a picture, one pixel a dot, black where the printer
// prints: the white padding to whole bytes and units of 8 rows included.

#include <QImage>

#include "imaging/logo_dots.h"

namespace ombrel {

QImage logoPreview(const LogoDots& logo);

}  // namespace ombrel
