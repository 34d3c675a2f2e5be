#pragma once

// Qt's own texts (file dialogs, message-box buttons) in the interface
// language, from the translations Qt ships.

#include <QTranslator>

namespace ombrel::app {

class QtTranslations {
 public:
  // Language index 1 is English, Qt's own language; any other index is
  // Chinese. Without Qt's Chinese translation on the system Qt's texts stay
  // English.
  void use(int languageIndex);

 private:
  QTranslator chinese_;
};

}  // namespace ombrel::app
