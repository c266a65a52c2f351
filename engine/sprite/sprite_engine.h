#pragma once
// The root of a sprite tree (TSpriteEngine): counts the sprites below it, runs the
// collision walks, keeps the killed sprites until FlushDead destroys them, and holds the
// surface the draw pass draws on. And the component the main window owns
// (TDXSpriteEngine), which holds such an engine and binds it to the display component's
// back surface.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/graphics/dx_draw.h"
#include "engine/sprite/sprite.h"
#include "engine/timer/geometry.h"
#include "framework/component.h"

class TDirectDrawSurface;

class TSpriteEngine : public TSprite {
 public:
  TSpriteEngine();
  ~TSpriteEngine() override;

  // Destroys every killed sprite, the last killed first.
  void FlushDead();
  // Draws the whole tree onto Surface.
  void DrawAll();
  // Binds the surface to draw on; none keeps the last size and clip rectangle.
  void SetSurface(TDirectDrawSurface* surface);

  int32_t SpriteCount() const { return spriteCount_; }
  int32_t HitCount() const { return hitCount_; }
  bool HitStop() const { return hitStop_; }
  const TRect& HitRect() const { return hitRect_; }
  TSprite* HitSource() const { return hitSource_; }
  const std::vector<TSprite*>& DeadList() const { return deadList_; }
  int32_t DrawnCount() const { return drawnCount_; }
  TDirectDrawSurface* Surface() const { return surface_; }
  const TRect& SurfaceRect() const { return surfaceRect_; }

 private:
  friend class TSprite;

  // While a pass (move, draw or collision walk) runs, sprites destroyed from inside it
  // are taken out of the tree at once but freed only when the outermost pass ends, so
  // that no running loop or callback is left with a freed sprite.
  class PassGuard {
   public:
    explicit PassGuard(TSpriteEngine* engine);
    ~PassGuard();
    PassGuard(const PassGuard&) = delete;
    PassGuard& operator=(const PassGuard&) = delete;

   private:
    TSpriteEngine* engine_;
  };

  TSpriteEngine* outermost();
  void bury(std::unique_ptr<TSprite> sprite);
  void removeFromDeadList(TSprite* sprite);

  int32_t spriteCount_ = 0;
  int32_t hitCount_ = 0;
  bool hitStop_ = false;
  TRect hitRect_;
  TSprite* hitSource_ = nullptr;
  std::vector<TSprite*> deadList_;
  int32_t drawnCount_ = 0;
  TDirectDrawSurface* surface_ = nullptr;
  TRect surfaceRect_;
  int passDepth_ = 0;
  std::vector<std::unique_ptr<TSprite>> graveyard_;
};

class TCustomDXSpriteEngine : public TComponent {
  // Declared first: Engine points into it.
  std::unique_ptr<TSpriteEngine> root_;

 public:
  explicit TCustomDXSpriteEngine(TComponent* owner);
  ~TCustomDXSpriteEngine() override;
  std::string ClassName() const override { return "TCustomDXSpriteEngine"; }

  // The root of the tree; the game's sprites are created with it as their parent.
  TSpriteEngine* const Engine;

  // The frame step's three calls: the move pass, destroying the killed sprites, and
  // the draw pass onto the display's back surface (only while the display is
  // initialized).
  void Move(int32_t lagCount);
  void Dead();
  void Draw();

  TCustomDXDraw* DXDraw() const { return dxdraw_; }
  // Binds to a display component (or none), following its surfaces from then on.
  void SetDXDraw(TCustomDXDraw* value);

 private:
  void handleDrawNotify(TCustomDXDraw* sender, TDXDrawNotifyType kind);

  TCustomDXDraw* dxdraw_ = nullptr;
};

class TDXSpriteEngine : public TCustomDXSpriteEngine {
 public:
  using TCustomDXSpriteEngine::TCustomDXSpriteEngine;
  std::string ClassName() const override { return "TDXSpriteEngine"; }
  // DXDraw names the display component of the same window.
  void SetStoredProperty(const std::string& name, const TPropertyValue& value) override;
  void Loaded() override;

 private:
  std::string storedDXDraw_;
};
