#include "cli/logo_options.h"

#include <QFile>

#include "commands/logo_transfer.h"
#include "imaging/logo_picture.h"
#include "imaging/logo_preview.h"
#include "platform/errors.h"

namespace ombrel::cli {

namespace {
constexpr const char* kLogoList = "ListBox1";
}  // namespace

void applyLogoOptions(const Options& options, ParaControls& controls) {
  controls.setItems(kLogoList, options.logos);
  if (options.logoSelect) {
    if (*options.logoSelect >= static_cast<int>(options.logos.size())) {
      throw UsageError("--logo-select " + std::to_string(*options.logoSelect) + ": the logo list has " +
                       std::to_string(options.logos.size()) + " entries, counted from 0");
    }
    controls.setIndex(kLogoList, *options.logoSelect);
  }
  if (options.logoThreshold) controls.setText("trk_LogoThreshold", std::to_string(*options.logoThreshold));
  if (options.logoDither) controls.setChecked("chk_LogoDither", true);
}

void writeLogoPreview(const Options& options, const ParaControls& controls) {
  if (options.logoPreview.empty()) return;
  const int selected = controls.index(kLogoList);
  if (selected < 0) throw UsageError("--logo-preview shows the selected logo: give --logo-select N");
  const auto picture = controls.items(kLogoList)[static_cast<std::size_t>(selected)];
  const QImage preview = logoPreview(reduceToDots(readLogoPictureFile(picture), logoReductionOf(controls)));
  if (!preview.save(QFile::decodeName(QByteArray::fromStdString(options.logoPreview)), "PNG")) {
    throw ECommonError("Cannot write " + options.logoPreview);
  }
}

}  // namespace ombrel::cli
