#include "engine/sprite/sprite_engine.h"

#include <algorithm>

#include "engine/graphics/direct_draw_surface.h"

TSpriteEngine::TSpriteEngine() { markAsRoot(this); }

TSpriteEngine::~TSpriteEngine() {
  // The sprites leave the dead list and the counts while they go, so they must go
  // while this engine's own fields are still there.
  ClearChildren();
  graveyard_.clear();
}

// An engine may itself be a sprite in another engine's tree; passes and burials are
// kept by the outermost one, whose passes reach every sprite below it.
TSpriteEngine* TSpriteEngine::outermost() {
  TSpriteEngine* top = this;
  while (top->RootEngine() != nullptr) top = top->RootEngine();
  return top;
}

TSpriteEngine::PassGuard::PassGuard(TSpriteEngine* engine)
    : engine_(engine != nullptr ? engine->outermost() : nullptr) {
  if (engine_ != nullptr) ++engine_->passDepth_;
}

TSpriteEngine::PassGuard::~PassGuard() {
  if (engine_ == nullptr) return;
  if (--engine_->passDepth_ == 0) {
    // Freeing may run sprite destructors that destroy still more; those go at once.
    std::vector<std::unique_ptr<TSprite>> buried;
    buried.swap(engine_->graveyard_);
  }
}

void TSpriteEngine::bury(std::unique_ptr<TSprite> sprite) {
  TSpriteEngine* top = outermost();
  if (top->passDepth_ > 0) top->graveyard_.push_back(std::move(sprite));
}

void TSpriteEngine::removeFromDeadList(TSprite* sprite) {
  // FlushDead takes the last entry, so search from the end.
  const auto found = std::find(deadList_.rbegin(), deadList_.rend(), sprite);
  if (found != deadList_.rend()) deadList_.erase(std::next(found).base());
}

void TSpriteEngine::FlushDead() {
  while (!deadList_.empty()) destroy(deadList_.back());
}

void TSpriteEngine::DrawAll() {
  drawnCount_ = 0;
  DrawTree();
}

void TSpriteEngine::SetSurface(TDirectDrawSurface* surface) {
  surface_ = surface;
  if (surface == nullptr) return;
  surfaceRect_ = TRect{0, 0, surface->Width(), surface->Height()};
  Width = surface->Width();
  Height = surface->Height();
}
