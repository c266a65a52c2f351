#include "engine/sprite/sprite.h"

#include <algorithm>
#include <cassert>

#include "engine/sprite/sprite_engine.h"
#include "engine/sprite/sprite_math.h"

namespace {

// The list's own complaint about an index outside a list that exists.
constexpr const char* SListRangeError = "List index out of bounds (%d)";

// Orders sprites by ZOrder against a bare ZOrder value, for searches in DrawOrder.
struct ByZOrder {
  bool operator()(const TSprite* sprite, int32_t z) const { return sprite->ZOrder() < z; }
  bool operator()(int32_t z, const TSprite* sprite) const { return z < sprite->ZOrder(); }
};

}  // namespace

TSprite::~TSprite() {
  // A sprite in a tree is always destroyed through destroy(), which empties and detaches
  // it first; this covers a sprite that was never attached and the root.
  assert(parent_ == nullptr);
  ClearChildren();
}

void TSprite::HandleCollision(TSprite& /*other*/, bool& /*stop*/) {}

void TSprite::DrawSelf() {}

void TSprite::MoveSelf(int32_t /*lagCount*/) {}

TRect TSprite::GetBounds() const {
  const int32_t left = TruncToInt32(WorldX());
  const int32_t top = TruncToInt32(WorldY());
  return TRect{left, top, AddClamped(left, Width), AddClamped(top, Height)};
}

bool TSprite::TestHit(TSprite& /*other*/) { return true; }

double TSprite::WorldX() const { return parent_ != nullptr ? parent_->WorldX() + PosX : PosX; }

double TSprite::WorldY() const { return parent_ != nullptr ? parent_->WorldY() + PosY : PosY; }

TSprite* TSprite::ChildAt(int index) const {
  if (children_.empty()) throw ESpriteError(Format(SListIndexError, index));
  if (index < 0 || index >= ChildCount()) throw ESpriteError(Format(SListRangeError, index));
  return children_[static_cast<size_t>(index)].get();
}

void TSprite::attach(std::unique_ptr<TSprite> child) {
  TSprite* sprite = child.get();
  sprite->parent_ = this;
  children_.push_back(std::move(child));
  insertIntoDrawOrder(sprite);
  sprite->engine_ = selfEngine_ != nullptr ? selfEngine_ : engine_;
  if (sprite->engine_ != nullptr) ++sprite->engine_->spriteCount_;
}

// The sprite goes in front of every sibling with an equal ZOrder, so among equal values
// the one inserted last is drawn first.
void TSprite::insertIntoDrawOrder(TSprite* child) {
  const auto place =
      std::lower_bound(drawOrder_.begin(), drawOrder_.end(), child->zOrder_, ByZOrder{});
  drawOrder_.insert(place, child);
}

void TSprite::removeFromDrawOrder(TSprite* child) {
  auto [first, last] =
      std::equal_range(drawOrder_.begin(), drawOrder_.end(), child->zOrder_, ByZOrder{});
  auto found = std::find(first, last, child);
  if (found == last) found = std::find(drawOrder_.begin(), drawOrder_.end(), child);
  if (found != drawOrder_.end()) drawOrder_.erase(found);
}

std::unique_ptr<TSprite> TSprite::detachChild(TSprite* child) {
  // The sprite destroyed is most often the last one created.
  auto found = std::find_if(children_.rbegin(), children_.rend(),
                            [child](const auto& entry) { return entry.get() == child; });
  assert(found != children_.rend());
  std::unique_ptr<TSprite> owned = std::move(*found);
  children_.erase(std::next(found).base());
  removeFromDrawOrder(child);
  if (children_.empty()) {
    // The lists go with the last child, as a sprite without children has none.
    children_.shrink_to_fit();
    drawOrder_.shrink_to_fit();
  }
  return owned;
}

void TSprite::destroy(TSprite* sprite) {
  sprite->ClearChildren();
  TSpriteEngine* engine = sprite->engine_;
  std::unique_ptr<TSprite> owned = sprite->parent_->detachChild(sprite);
  sprite->parent_ = nullptr;
  sprite->engine_ = nullptr;
  if (engine == nullptr) return;
  --engine->spriteCount_;
  if (sprite->dead_) engine->removeFromDeadList(sprite);
  engine->bury(std::move(owned));
}

void TSprite::ClearChildren() {
  while (!children_.empty()) destroy(children_.back().get());
}

void TSprite::SetZOrder(int32_t value) {
  if (value == zOrder_) return;
  if (parent_ != nullptr) parent_->removeFromDrawOrder(this);
  zOrder_ = value;
  if (parent_ != nullptr) parent_->insertIntoDrawOrder(this);
}

void TSprite::Kill() {
  if (engine_ == nullptr || dead_) return;
  dead_ = true;
  engine_->deadList_.push_back(this);
}

// The passes index the lists afresh on every step: sprites created during a pass may
// grow them (the count taken first keeps new ones for the next pass) and sprites
// destroyed during a pass may shrink them.

void TSprite::MoveTree(int32_t lagCount) {
  TSpriteEngine::PassGuard guard(treeEngine());
  moveTree(lagCount);
}

void TSprite::moveTree(int32_t lagCount) {
  if (!CanMove) return;
  MoveSelf(lagCount);
  const size_t count = children_.size();
  for (size_t i = 0; i < count && i < children_.size(); ++i) children_[i]->moveTree(lagCount);
}

void TSprite::DrawTree() {
  TSpriteEngine::PassGuard guard(treeEngine());
  drawTree();
}

void TSprite::drawTree() {
  if (!IsVisible) return;
  if (TSpriteEngine* engine = engine_; engine != nullptr) {
    if (OverlapRect(GetBounds(), engine->surfaceRect_)) {
      DrawSelf();
      ++engine->drawnCount_;
    }
  }
  const size_t count = drawOrder_.size();
  for (size_t i = 0; i < count && i < drawOrder_.size(); ++i) drawOrder_[i]->drawTree();
}

int32_t TSprite::CheckCollisions() {
  TSpriteEngine* engine = engine_;
  if (engine == nullptr || dead_ || !CanCollide) return 0;
  TSpriteEngine::PassGuard guard(engine);
  engine->hitCount_ = 0;
  engine->hitStop_ = false;
  engine->hitRect_ = GetBounds();
  engine->hitSource_ = this;
  const size_t count = engine->children_.size();
  for (size_t i = 0; i < count && i < engine->children_.size(); ++i) {
    engine->children_[i]->collisionWalk(*engine);
  }
  return engine->hitCount_;
}

void TSprite::collisionWalk(TSpriteEngine& engine) {
  if (!CanCollide) return;
  TSprite* source = engine.hitSource_;
  if (this != source && OverlapRect(GetBounds(), engine.hitRect_) && source->TestHit(*this) &&
      TestHit(*source)) {
    ++engine.hitCount_;
    source->HandleCollision(*this, engine.hitStop_);
    if (!source->CanCollide || source->dead_) engine.hitStop_ = true;
  }
  if (engine.hitStop_) return;
  const size_t count = children_.size();
  for (size_t i = 0; i < count && i < children_.size(); ++i) children_[i]->collisionWalk(engine);
}
