// The production line window's tiles: one per printer plugged in since the
// station started, by its port, until it is unplugged and its run is over.

#include <QGridLayout>

#include "app/frm_line.h"

namespace ombrel::app {

namespace {
constexpr int kTilesPerRow = 4;
}  // namespace

QString TFrmLine::portText(const std::string& port) const {
  return QString::fromStdString(portWithLabel(portNames_, port));
}

SlotTile* TFrmLine::tile(const std::string& port) const {
  const auto found = tiles_.find(port);
  return found != tiles_.end() ? found->second : nullptr;
}

SlotTile& TFrmLine::tileFor(const std::string& port) {
  if (SlotTile* shown = tile(port)) return *shown;
  auto* made = new SlotTile(tilesArea_, portText(port), [this, port] { retry(port); });
  made->setObjectName(QStringLiteral("tile_") + QString::fromStdString(port));
  auto* grid = qobject_cast<QGridLayout*>(tilesArea_->layout());
  const int index = static_cast<int>(tiles_.size());
  grid->addWidget(made, index / kTilesPerRow, index % kTilesPerRow);
  tiles_[port] = made;
  return *made;
}

void TFrmLine::removeTilesOfLeft(const std::vector<UsbDeviceName>& present) {
  auto* grid = qobject_cast<QGridLayout*>(tilesArea_->layout());
  for (auto it = tiles_.begin(); it != tiles_.end();) {
    const bool plugged = std::any_of(present.begin(), present.end(),
                                     [&](const UsbDeviceName& printer) { return printer.port == it->first; });
    if (plugged || slots_.count(it->first) != 0) {
      ++it;
      continue;
    }
    grid->removeWidget(it->second);
    it->second->deleteLater();
    it = tiles_.erase(it);
  }
  // The remaining tiles close up in port order.
  for (auto& [port, shown] : tiles_) grid->removeWidget(shown);
  int index = 0;
  for (auto& [port, shown] : tiles_) {
    grid->addWidget(shown, index / kTilesPerRow, index % kTilesPerRow);
    ++index;
  }
}

}  // namespace ombrel::app
