// The GUI tests run inside one QApplication, offscreen unless a platform is
// named (the screenshots are also taken under a real X server).

#include <gtest/gtest.h>

#include <QApplication>

// On a real X server (the screenshot runs) Qt reaches the desktop's D-Bus
// library, which keeps a buffer for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

namespace {
// The offscreen platform says, for every window, what it cannot do.
void dropPlatformLimits(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith(QStringLiteral("This plugin does not support"))) return;
  qt_message_output(type, context, message);
}
}  // namespace

int main(int argc, char** argv) {
  qInstallMessageHandler(dropPlatformLimits);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
