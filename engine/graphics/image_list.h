#pragma once
// The image list: every picture of the game under a name, each with a grid of equal
// cells (patterns) and a transparency rule. When the display is initialized or restored,
// each image turns its picture into drawing surfaces and records which surface holds
// every pattern and where.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/graphics/dib.h"
#include "engine/graphics/direct_draw_surface.h"
#include "engine/graphics/dx_draw.h"
#include "engine/timer/geometry.h"
#include "framework/bitmap.h"
#include "framework/component.h"

class EPictureCollectionError : public Exception {
 public:
  using Exception::Exception;
};

inline constexpr const char* SImageNotFound = "Image '%s' not found";

class TPictureCollection;

struct TPictureCollectionItemPattern {
  TRect Rect;
  TDirectDrawSurface* Surface = nullptr;
};

// The hash of a name: its length times 16 plus the codes of its second-to-last and first
// characters, after lower-casing, in 8 bits.
uint8_t NameHash(const std::string& name);
// Case-insensitive name comparison (letters of the Latin and Cyrillic alphabets).
bool SameName(const std::string& a, const std::string& b);

class TPictureCollectionItem {
 public:
  explicit TPictureCollectionItem(TPictureCollection* collection);
  ~TPictureCollectionItem();
  TPictureCollectionItem(const TPictureCollectionItem&) = delete;
  TPictureCollectionItem& operator=(const TPictureCollectionItem&) = delete;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name);
  int Index() const { return index_; }
  TPictureCollection* Collection() const { return collection_; }

  int32_t PatternHeight = 0;
  int32_t PatternWidth = 0;
  int32_t SkipHeight = 0;
  int32_t SkipWidth = 0;
  bool SystemMemory = false;
  bool Transparent = true;
  uint32_t TransparentColor() const { return transparentColor_; }
  // Re-keys every surface built so far; a surface that refuses keeps its old key.
  void SetTransparentColor(uint32_t color);

  TPicture& Picture() { return picture_; }
  const TPicture& Picture() const { return picture_; }
  void SetPicture(const TPicture& picture) { picture_.Assign(picture); }
  // All published settings but the name; a usable item is rebuilt afterwards.
  void Assign(const TPictureCollectionItem& other);

  // The picture's size.
  int Width() const { return picture_.Width(); }
  int Height() const { return picture_.Height(); }
  int32_t CellWidth() const { return PatternWidth > 0 ? PatternWidth : picture_.Width(); }
  int32_t CellHeight() const { return PatternHeight > 0 ? PatternHeight : picture_.Height(); }

  bool Usable() const { return usable_; }
  int PatternCount() const { return static_cast<int>(patterns_.size()); }
  const std::vector<TPictureCollectionItemPattern>& Patterns() const { return patterns_; }
  int SurfaceCount() const { return static_cast<int>(surfaces_.size()); }
  TDirectDrawSurface* Surfaces(int index) const {
    return surfaces_[static_cast<size_t>(index)].get();
  }
  TRect PatternRect(int index) const;
  TDirectDrawSurface* PatternSurface(int index) const;

  // Draws pattern index with its top-left corner at (x, y), colour-keyed when Transparent.
  void DrawPattern(TDirectDrawSurface& dest, int x, int y, int index);
  void Draw(TDirectDrawSurface& dest, int x, int y, int index) { DrawPattern(dest, x, y, index); }
  void DrawPatternWave(TDirectDrawSurface& dest, int x, int y, int width, int height, int index,
                       int amplitude, int wavelength, int phase);

  void InitializeItem();
  void FinalizeItem();
  void RestoreItem();

  // Applies one stored property of an item of the window description.
  void SetStoredProperty(const std::string& name, const TPropertyValue& value);

 private:
  friend class TPictureCollection;
  void makeItemSurface(const TRect& rect);

  TPictureCollection* collection_;
  std::string name_;
  uint32_t transparentColor_ = 0;
  TPicture picture_;
  bool usable_ = false;
  std::vector<TPictureCollectionItemPattern> patterns_;
  std::vector<std::unique_ptr<TDirectDrawSurface>> surfaces_;
  // Name-chain bookkeeping.
  int index_ = 0;
  uint8_t hash_ = 0;
  TPictureCollectionItem* prev_ = nullptr;
  TPictureCollectionItem* next_ = nullptr;
};

class TCustomDXImageList;

class TPictureCollection {
 public:
  explicit TPictureCollection(TCustomDXImageList* owner = nullptr);
  ~TPictureCollection();
  TPictureCollection(const TPictureCollection&) = delete;
  TPictureCollection& operator=(const TPictureCollection&) = delete;

  TPictureCollectionItem* Add();
  void Delete(int index);
  void Clear();
  int Count() const { return static_cast<int>(items_.size()); }
  TPictureCollectionItem* Items(int index) const {
    return items_[static_cast<size_t>(index)].get();
  }
  // Copies the other collection item by item (and its colour table).
  void Assign(const TPictureCollection& other);

  int IndexOfName(const std::string& name) const;
  // EPictureCollectionError "Image '%s' not found" when no item has the name.
  TPictureCollectionItem* FindByName(const std::string& name) const;
  TPictureCollectionItem* Find(const std::string& name) const { return FindByName(name); }

  void InitializeAll(TCustomDXDraw* dxdraw);
  void FinalizeAll();
  void RestoreAll();
  bool Initialized() const;
  TCustomDXDraw* DXDraw() const { return dxdraw_; }
  TCustomDXImageList* Owner() const { return owner_; }

  TRGBQuads ColorTable{};
  void BuildColorTable();

 private:
  friend class TPictureCollectionItem;
  void link(TPictureCollectionItem* item);
  void unlink(TPictureCollectionItem* item);

  TCustomDXImageList* owner_;
  std::vector<std::unique_ptr<TPictureCollectionItem>> items_;
  std::array<TPictureCollectionItem*, 256> buckets_{};
  TCustomDXDraw* dxdraw_ = nullptr;
};

class TCustomDXImageList : public TComponent {
  // Declared first: Items points into it.
  std::unique_ptr<TPictureCollection> items_;

 public:
  explicit TCustomDXImageList(TComponent* owner);
  ~TCustomDXImageList() override;
  std::string ClassName() const override { return "TCustomDXImageList"; }
  void SetStoredProperty(const std::string& name, const TPropertyValue& value) override;
  void Loaded() override;

  TPictureCollection* const Items;
  void SetItems(const TPictureCollection& items) { Items->Assign(items); }
  TCustomDXDraw* DXDraw() const { return dxdraw_; }
  void SetDXDraw(TCustomDXDraw* dxdraw);

 private:
  void handleDrawNotify(TCustomDXDraw* sender, TDXDrawNotifyType kind);

  TCustomDXDraw* dxdraw_ = nullptr;
  std::string pendingDXDraw_;
};

class TDXImageList : public TCustomDXImageList {
 public:
  using TCustomDXImageList::TCustomDXImageList;
  std::string ClassName() const override { return "TDXImageList"; }
};
