#include "engine/graphics/image_list.h"

#include <algorithm>

#include "framework/colors.h"
#include "framework/text_case.h"

namespace {

std::vector<TGraphicFormat> itemFormats() { return {BitmapGraphicFormat(), DIBGraphicFormat()}; }

}  // namespace

uint8_t NameHash(const std::string& name) {
  // Lower case keeps the length, so the folded name's bytes are read in place.
  const size_t n = name.size();
  uint32_t h = static_cast<uint32_t>(n) * 16u;
  if (n >= 2) {
    h += LowerCaseByte(name, n - 2);
    h += LowerCaseByte(name, 0);
  }
  return static_cast<uint8_t>(h);
}

bool SameName(const std::string& a, const std::string& b) { return SameText(a, b); }

// Items.

TPictureCollectionItem::TPictureCollectionItem(TPictureCollection* collection)
    : collection_(collection), picture_(itemFormats()) {}

TPictureCollectionItem::~TPictureCollectionItem() { FinalizeItem(); }

void TPictureCollectionItem::SetName(const std::string& name) {
  if (name == name_) return;
  name_ = name;
  if (collection_ != nullptr) {
    collection_->unlink(this);
    collection_->link(this);
  }
}

void TPictureCollectionItem::SetTransparentColor(uint32_t color) {
  if (color == transparentColor_) return;
  transparentColor_ = color;
  for (const auto& surface : surfaces_) {
    if (surface->HasSurface()) surface->SetColorKey(surface->MatchColor(color));
  }
}

void TPictureCollectionItem::Assign(const TPictureCollectionItem& other) {
  if (&other == this) return;
  PatternHeight = other.PatternHeight;
  PatternWidth = other.PatternWidth;
  SkipHeight = other.SkipHeight;
  SkipWidth = other.SkipWidth;
  SystemMemory = other.SystemMemory;
  Transparent = other.Transparent;
  SetTransparentColor(other.TransparentColor());
  picture_.Assign(other.picture_);
  if (usable_) RestoreItem();
}

TRect TPictureCollectionItem::PatternRect(int index) const {
  if (index < 0 || index >= PatternCount()) return TRect{};
  return patterns_[static_cast<size_t>(index)].Rect;
}

TDirectDrawSurface* TPictureCollectionItem::PatternSurface(int index) const {
  if (index < 0 || index >= PatternCount()) return nullptr;
  return patterns_[static_cast<size_t>(index)].Surface;
}

void TPictureCollectionItem::DrawPattern(TDirectDrawSurface& dest, int x, int y, int index) {
  if (!usable_ || index < 0 || index >= PatternCount()) return;
  const TPictureCollectionItemPattern& p = patterns_[static_cast<size_t>(index)];
  if (p.Surface == nullptr) return;
  dest.BlitFrom(x, y, p.Rect, p.Surface, Transparent);
}

void TPictureCollectionItem::DrawPatternWave(TDirectDrawSurface& dest, int x, int y, int width,
                                             int height, int index, int amplitude, int wavelength,
                                             int phase) {
  if (!usable_ || index < 0 || index >= PatternCount()) return;
  const TPictureCollectionItemPattern& p = patterns_[static_cast<size_t>(index)];
  if (p.Surface == nullptr) return;
  dest.DrawWave(x, y, width, height, p.Rect, p.Surface, Transparent, amplitude, wavelength, phase);
}

void TPictureCollectionItem::InitializeItem() {
  FinalizeItem();
  usable_ = collection_ != nullptr && collection_->Initialized();
}

void TPictureCollectionItem::FinalizeItem() {
  if (!usable_) return;
  usable_ = false;
  patterns_.clear();
  surfaces_.clear();
}

void TPictureCollectionItem::makeItemSurface(const TRect& rect) {
  TDirectDraw* ddraw = collection_->DXDraw() != nullptr ? collection_->DXDraw()->DDraw() : nullptr;
  auto surface = std::make_unique<TDirectDrawSurface>(ddraw);
  TDirectDrawSurface* raw = surface.get();
  surfaces_.push_back(std::move(surface));
  raw->SystemMemory = SystemMemory;
  raw->LoadGraphicRect(*picture_.Graphic(), rect, rect.Width(), rect.Height());
  raw->SetColorKey(raw->MatchColor(transparentColor_));
}

void TPictureCollectionItem::RestoreItem() {
  if (picture_.Graphic() == nullptr) return;
  if (!usable_) {
    if (collection_ != nullptr && collection_->Initialized()) InitializeItem();
    if (!usable_) return;
  }
  patterns_.clear();
  surfaces_.clear();
  const int32_t w = CellWidth();
  const int32_t h = CellHeight();
  const int32_t pw = picture_.Width();
  const int32_t ph = picture_.Height();
  if (w <= 0 || h <= 0 || pw <= 0 || ph <= 0) return;
  const int32_t a = w + SkipWidth;
  const int32_t c = h + SkipHeight;
  if (w == pw && h == ph) {
    makeItemSurface(TRect{0, 0, pw, ph});
    patterns_.push_back({TRect{0, 0, pw, ph}, surfaces_.back().get()});
    return;
  }
  // A negative gap large enough to make a step of 0 or less would give no sensible grid.
  if (a <= 0 || c <= 0) return;
  const int32_t rows = (ph + SkipHeight) / c;
  const int32_t columns = (pw + SkipWidth) / a;
  if (SystemMemory) {
    makeItemSurface(TRect{0, 0, pw, ph});
    TDirectDrawSurface* surface = surfaces_.back().get();
    for (int32_t l = 0; l < rows; ++l) {
      for (int32_t m = 0; m < columns; ++m) {
        patterns_.push_back({TRect{a * m, c * l, a * m + w, c * l + h}, surface});
      }
    }
    return;
  }
  // Tiles: the smallest multiple of the cell step reaching 512 pixels, but no more than
  // the whole columns (rows) of cells, so that no pattern crosses a tile edge.
  const int32_t tw = std::min(a * ((a + 511) / a), a * columns);
  const int32_t th = std::min(c * ((c + 511) / c), c * rows);
  if (tw <= 0 || th <= 0) return;
  const int32_t tx = (tw + pw - 1) / tw;
  const int32_t ty = (th + ph - 1) / th;
  for (int32_t l = 0; l < ty; ++l) {
    for (int32_t m = 0; m < tx; ++m) {
      int32_t tileW = std::min(tw, std::max(pw - tw * m, 0));
      int32_t tileH = std::min(th, std::max(ph - th * l, 0));
      if (tileW == 0) tileW = tw;
      if (tileH == 0) tileH = th;
      makeItemSurface(TRect{tw * m, th * l, tw * m + tileW, th * l + tileH});
    }
  }
  for (int32_t l = 0; l < rows; ++l) {
    for (int32_t m = 0; m < columns; ++m) {
      const int32_t left = (a * m) % tw;
      const int32_t top = (c * l) % th;
      const auto tile = static_cast<size_t>((a * m) / tw) +
                        static_cast<size_t>(tx) * static_cast<size_t>((c * l) / th);
      TDirectDrawSurface* surface = tile < surfaces_.size() ? surfaces_[tile].get() : nullptr;
      patterns_.push_back({TRect{left, top, left + w, top + h}, surface});
    }
  }
}

void TPictureCollectionItem::SetStoredProperty(const std::string& name,
                                               const TPropertyValue& value) {
  if (name == "Name") {
    SetName(value.AsString(name));
  } else if (name == "PatternHeight") {
    PatternHeight = static_cast<int32_t>(value.AsInteger(name));
  } else if (name == "PatternWidth") {
    PatternWidth = static_cast<int32_t>(value.AsInteger(name));
  } else if (name == "SkipHeight") {
    SkipHeight = static_cast<int32_t>(value.AsInteger(name));
  } else if (name == "SkipWidth") {
    SkipWidth = static_cast<int32_t>(value.AsInteger(name));
  } else if (name == "SystemMemory") {
    SystemMemory = value.AsBoolean(name);
  } else if (name == "Transparent") {
    Transparent = value.AsBoolean(name);
  } else if (name == "TransparentColor") {
    SetTransparentColor(ColorValue(value, name));
  } else if (name == "Picture.Data") {
    picture_.ReadData(value.AsBinary(name));
  } else {
    throw EReadError(Format("Property %s does not exist", name));
  }
}

// Collection.

TPictureCollection::TPictureCollection(TCustomDXImageList* owner) : owner_(owner) {}

TPictureCollection::~TPictureCollection() {
  FinalizeAll();
  Clear();
}

void TPictureCollection::link(TPictureCollectionItem* item) {
  item->hash_ = NameHash(item->name_);
  TPictureCollectionItem*& head = buckets_[item->hash_];
  item->prev_ = nullptr;
  item->next_ = head;
  if (head != nullptr) head->prev_ = item;
  head = item;
}

void TPictureCollection::unlink(TPictureCollectionItem* item) {
  if (item->prev_ != nullptr) {
    item->prev_->next_ = item->next_;
  } else if (buckets_[item->hash_] == item) {
    buckets_[item->hash_] = item->next_;
  }
  if (item->next_ != nullptr) item->next_->prev_ = item->prev_;
  item->prev_ = item->next_ = nullptr;
}

TPictureCollectionItem* TPictureCollection::Add() {
  auto item = std::make_unique<TPictureCollectionItem>(this);
  TPictureCollectionItem* raw = item.get();
  raw->index_ = Count();
  items_.push_back(std::move(item));
  link(raw);
  if (Initialized()) raw->InitializeItem();
  return raw;
}

void TPictureCollection::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  TPictureCollectionItem* item = Items(index);
  unlink(item);
  items_.erase(items_.begin() + index);
  for (int i = index; i < Count(); ++i) Items(i)->index_ = i;
}

void TPictureCollection::Clear() {
  while (Count() > 0) Delete(Count() - 1);
}

void TPictureCollection::Assign(const TPictureCollection& other) {
  if (&other == this) return;
  Clear();
  for (int i = 0; i < other.Count(); ++i) {
    TPictureCollectionItem* item = Add();
    item->Assign(*other.Items(i));
    item->SetName(other.Items(i)->Name());
  }
  ColorTable = other.ColorTable;
}

int TPictureCollection::IndexOfName(const std::string& name) const {
  for (TPictureCollectionItem* item = buckets_[NameHash(name)]; item != nullptr;
       item = item->next_) {
    if (SameName(item->name_, name)) return item->index_;
  }
  return -1;
}

TPictureCollectionItem* TPictureCollection::FindByName(const std::string& name) const {
  const int index = IndexOfName(name);
  if (index < 0) throw EPictureCollectionError(Format(SImageNotFound, name));
  return Items(index);
}

bool TPictureCollection::Initialized() const {
  return dxdraw_ != nullptr && dxdraw_->Initialized();
}

void TPictureCollection::InitializeAll(TCustomDXDraw* dxdraw) {
  FinalizeAll();
  dxdraw_ = dxdraw;
  if (!Initialized()) {
    throw EPictureCollectionError(Format(SCannotInitialized, "TPictureCollection"));
  }
  for (const auto& item : items_) item->InitializeItem();
}

void TPictureCollection::FinalizeAll() {
  struct ClearDraw {
    TCustomDXDraw*& d;
    ~ClearDraw() { d = nullptr; }
  } clear{dxdraw_};
  for (const auto& item : items_) item->FinalizeItem();
}

void TPictureCollection::RestoreAll() {
  for (const auto& item : items_) item->RestoreItem();
}

void TPictureCollection::BuildColorTable() {
  ColorTable.fill(TRGBQuad{});
  std::array<bool, 256> used{};
  int count = 0;
  auto put = [&](int slot, uint8_t r, uint8_t g, uint8_t b) {
    ColorTable[static_cast<size_t>(slot)] = TRGBQuad{b, g, r, 0};
    used[static_cast<size_t>(slot)] = true;
    ++count;
  };
  put(0, 0, 0, 0);
  put(1, 128, 0, 0);
  put(2, 0, 128, 0);
  put(3, 128, 128, 0);
  put(4, 0, 0, 128);
  put(5, 128, 0, 128);
  put(6, 0, 128, 128);
  put(7, 192, 192, 192);
  put(248, 128, 128, 128);
  put(249, 255, 0, 0);
  put(250, 0, 255, 0);
  put(251, 255, 255, 0);
  put(252, 0, 0, 255);
  put(253, 255, 0, 255);
  put(254, 0, 255, 255);
  put(255, 255, 255, 255);
  auto offer = [&](const TRGBQuad& q) {
    for (int i = 0; i < 256; ++i) {
      if (used[static_cast<size_t>(i)] && ColorTable[static_cast<size_t>(i)] == q) return;
    }
    for (int i = 0; i < 256; ++i) {
      if (!used[static_cast<size_t>(i)]) {
        ColorTable[static_cast<size_t>(i)] = q;
        used[static_cast<size_t>(i)] = true;
        ++count;
        return;
      }
    }
  };
  for (const auto& item : items_) {
    const TGraphic* graphic = item->Picture().Graphic();
    if (graphic == nullptr) continue;
    if (const auto* dib = dynamic_cast<const TDIB*>(graphic)) {
      if (dib->BitCount() > 0 && dib->BitCount() <= 8) {
        for (const TRGBQuad& q : dib->ColorTable()) offer(q);
      }
    } else {
      const std::vector<TPaletteEntry> palette = graphic->Palette();
      for (size_t i = 0; i < palette.size() && i < 256; ++i) {
        offer(TRGBQuad{palette[i].Blue, palette[i].Green, palette[i].Red, 0});
      }
    }
    if (count >= 256) break;
  }
}

// The image-list component.

TCustomDXImageList::TCustomDXImageList(TComponent* owner)
    : TComponent(owner), items_(std::make_unique<TPictureCollection>(this)), Items(items_.get()) {}

TCustomDXImageList::~TCustomDXImageList() { SetDXDraw(nullptr); }

void TCustomDXImageList::SetDXDraw(TCustomDXDraw* dxdraw) {
  if (dxdraw_ != nullptr) dxdraw_->UnregisterNotify(this);
  dxdraw_ = dxdraw;
  if (dxdraw_ != nullptr) {
    dxdraw_->RegisterNotify(
        [this](TCustomDXDraw* sender, TDXDrawNotifyType kind) { handleDrawNotify(sender, kind); },
        this);
  }
}

void TCustomDXImageList::handleDrawNotify(TCustomDXDraw* sender, TDXDrawNotifyType kind) {
  switch (kind) {
    case NotifyDestroying:
      if (sender == dxdraw_) SetDXDraw(nullptr);
      break;
    case NotifyInitialize:
      Items->InitializeAll(sender);
      break;
    case NotifyFinalize:
      Items->FinalizeAll();
      break;
    case NotifyRestore:
      Items->RestoreAll();
      break;
    default:
      break;
  }
}

void TCustomDXImageList::SetStoredProperty(const std::string& name, const TPropertyValue& value) {
  if (name == "DXDraw") {
    pendingDXDraw_ = value.AsIdentifier(name);
    if (Owner() != nullptr) {
      if (auto* d = dynamic_cast<TCustomDXDraw*>(Owner()->FindComponent(pendingDXDraw_))) {
        SetDXDraw(d);
        pendingDXDraw_.clear();
      }
    }
  } else if (name == "Items") {
    for (const auto& stored : value.AsCollection(name)) {
      TPictureCollectionItem* item = Items->Add();
      for (const TStoredProperty& p : stored) item->SetStoredProperty(p.name, p.value);
    }
  } else if (name == "Items.ColorTable") {
    const std::vector<uint8_t>& bytes = value.AsBinary(name);
    if (bytes.size() != sizeof(TRGBQuads)) {
      throw EReadError(Format("Invalid property value for %s", name));
    }
    for (size_t i = 0; i < 256; ++i) {
      Items->ColorTable[i] =
          TRGBQuad{bytes[4 * i], bytes[4 * i + 1], bytes[4 * i + 2], bytes[4 * i + 3]};
    }
  } else {
    TComponent::SetStoredProperty(name, value);
  }
}

void TCustomDXImageList::Loaded() {
  TComponent::Loaded();
  // The display may be described after the image list.
  if (!pendingDXDraw_.empty() && Owner() != nullptr) {
    if (auto* d = dynamic_cast<TCustomDXDraw*>(Owner()->FindComponent(pendingDXDraw_)))
      SetDXDraw(d);
    pendingDXDraw_.clear();
  }
}
