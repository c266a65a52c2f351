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

TCustomDXSpriteEngine::TCustomDXSpriteEngine(TComponent* owner)
    : TComponent(owner), root_(std::make_unique<TSpriteEngine>()), Engine(root_.get()) {}

TCustomDXSpriteEngine::~TCustomDXSpriteEngine() { SetDXDraw(nullptr); }

void TCustomDXSpriteEngine::Move(int32_t lagCount) { Engine->MoveTree(lagCount); }

void TCustomDXSpriteEngine::Dead() { Engine->FlushDead(); }

void TCustomDXSpriteEngine::Draw() {
  if (dxdraw_ != nullptr && dxdraw_->Initialized()) Engine->DrawAll();
}

void TCustomDXSpriteEngine::SetDXDraw(TCustomDXDraw* value) {
  if (dxdraw_ != nullptr) dxdraw_->UnregisterNotify(this);
  dxdraw_ = value;
  if (dxdraw_ != nullptr) {
    dxdraw_->RegisterNotify(
        [this](TCustomDXDraw* sender, TDXDrawNotifyType kind) { handleDrawNotify(sender, kind); },
        this);
  }
}

void TCustomDXSpriteEngine::handleDrawNotify(TCustomDXDraw* sender, TDXDrawNotifyType kind) {
  switch (kind) {
    case NotifyDestroying:
      SetDXDraw(nullptr);
      break;
    // The back surface is replaced when the display resizes it, which the surface
    // notifications announce; the engine follows so it never draws on a freed one.
    case NotifyInitialize:
    case NotifyInitializeSurface:
      Engine->SetSurface(sender->SurfacePtr());
      break;
    case NotifyFinalize:
    case NotifyFinalizeSurface:
      Engine->SetSurface(nullptr);
      break;
    default:
      break;
  }
}

void TDXSpriteEngine::SetStoredProperty(const std::string& name, const TPropertyValue& value) {
  if (name == "DXDraw") {
    storedDXDraw_ = value.AsIdentifier(name);
  } else {
    TCustomDXSpriteEngine::SetStoredProperty(name, value);
  }
}

void TDXSpriteEngine::Loaded() {
  TCustomDXSpriteEngine::Loaded();
  if (storedDXDraw_.empty() || Owner() == nullptr) return;
  auto* dxdraw = dynamic_cast<TCustomDXDraw*>(Owner()->FindComponent(storedDXDraw_));
  if (dxdraw == nullptr) {
    throw EReadError(
        Format("Error reading %s.DXDraw: component %s not found", Name, storedDXDraw_));
  }
  storedDXDraw_.clear();
  SetDXDraw(dxdraw);
}
