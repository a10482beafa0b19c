#include "TileCache.h"

#include "Palette.h"

namespace explorer {

std::size_t TileKeyHash::operator()(const TileKey& key) const {
  const spiral::ViewSettings& s = key.settings;
  std::size_t hash = std::hash<uint64_t>()(s.start);
  const auto mix = [&hash](uint64_t value) { hash = (hash ^ std::hash<uint64_t>()(value)) * 0x100000001B3ULL; };
  mix(static_cast<uint64_t>(key.column));
  mix(static_cast<uint64_t>(key.row));
  mix(static_cast<uint64_t>(s.zoom));
  mix(static_cast<uint64_t>(s.numberClass) * 16 + static_cast<uint64_t>(s.colorScheme));
  mix((s.squares ? 1U : 0U) | (s.grid ? 2U : 0U) | (s.numerals ? 4U : 0U));
  mix(s.randomSeed);
  mix(std::hash<std::string>()(s.ownRule.text));
  return hash;
}

const QList<QRgb>& paletteColourTable() {
  static const QList<QRgb> colours = [] {
    QList<QRgb> table;
    for (int i = 0; i < spiral::kPaletteSize; ++i) table << spiral::paletteRgb(i);
    return table;
  }();
  return colours;
}

void wrapImage(Tile& tile) {
  const spiral::Picture& picture = tile.picture;
  tile.image = QImage(picture.indexLine(0), picture.width(), picture.height(), picture.width(), QImage::Format_Indexed8);
  tile.image.setColorTable(paletteColourTable());
}

std::shared_ptr<const Tile> TileCache::find(const TileKey& key) {
  const auto found = index_.find(key);
  if (found == index_.end()) return nullptr;
  order_.splice(order_.begin(), order_, found->second);
  return found->second->second;
}

// The key is hashed once: a view hands over its tiles in a batch, on the thread that paints.
void TileCache::insert(const TileKey& key, std::shared_ptr<const Tile> tile) {
  const auto [slot, isNew] = index_.try_emplace(key);
  if (!isNew) dropFromOrder(slot->second);
  bytes_ += bytesOf(*tile);
  order_.emplace_front(key, std::move(tile));
  slot->second = order_.begin();
  while (bytes_ > budget_ && order_.size() > 1) erase(std::prev(order_.end()));
}

void TileCache::removeIf(const std::function<bool(const TileKey&, const Tile&)>& drop) {
  for (auto entry = order_.begin(); entry != order_.end();) {
    const auto next = std::next(entry);
    if (drop(entry->first, *entry->second)) erase(entry);
    entry = next;
  }
}

int64_t TileCache::bytesOf(const Tile& tile) {
  const spiral::TileResult& result = tile.result;
  const auto lineBytes = [](const spiral::TileResult::LineSums& lines) {
    return static_cast<int64_t>((lines.byRow.size() + lines.byColumn.size()) * sizeof(uint32_t));
  };
  return int64_t{tile.picture.width()} * tile.picture.height() + static_cast<int64_t>(sizeof(Tile)) +
         static_cast<int64_t>(result.ownShown.bytes() + result.ownUndefined.bytes()) + lineBytes(result.ownShownLines) +
         lineBytes(result.ownUndefinedLines);
}

void TileCache::dropFromOrder(std::list<Entry>::iterator entry) {
  bytes_ -= bytesOf(*entry->second);
  order_.erase(entry);
}

void TileCache::erase(std::list<Entry>::iterator entry) {
  index_.erase(entry->first);  // before the entry that holds the key goes
  dropFromOrder(entry);
}

}  // namespace explorer
