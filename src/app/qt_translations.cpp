#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace ombrel::app {

void QtTranslations::use(int languageIndex) {
  QCoreApplication::removeTranslator(&chinese_);
  if (languageIndex == 1) return;
  if (chinese_.isEmpty() && !chinese_.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                                           QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    return;
  }
  QCoreApplication::installTranslator(&chinese_);
}

}  // namespace ombrel::app
