// The sprite work of one frame over 300 image sprites of monster size on an 800 x 600
// 5-6-5 back surface: the move pass, the draw pass and one collision check with pixel
// tests, as the game runs them. Printed per frame and per sprite, and as a ratio to a
// plain fill of the same surface timed in the same run.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

#include "engine/graphics/dx_draw.h"
#include "engine/graphics/image_list.h"
#include "engine/sprite/image_sprite.h"
#include "engine/sprite/sprite_engine.h"
#include "framework/bitmap.h"
#include "framework/form.h"

namespace {

constexpr int kSprites = 300;
constexpr int kMonsterSize = 64;
constexpr int kFrames = 2000;
constexpr int kLag = 16;

// Swims left and comes back in at the right, like the game's monsters.
class BenchMonster : public TImageSprite {
 public:
  void MoveSelf(int32_t lagCount) override {
    TImageSprite::MoveSelf(lagCount);
    PosX -= Speed * 0.03 * lagCount;
    if (PosX < -kMonsterSize) PosX += SceneWidth + kMonsterSize;
  }
  double Speed = 1;
  double SceneWidth = 800;
};

// A round opaque body on a transparent square, as the monster pictures are.
std::unique_ptr<TBitmap> monsterPicture(uint32_t rgb) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetSize(kMonsterSize, kMonsterSize);
  const int r = kMonsterSize / 2;
  for (int y = 0; y < kMonsterSize; ++y) {
    for (int x = 0; x < kMonsterSize; ++x) {
      const int dx = x - r;
      const int dy = y - r;
      bitmap->SetPixel(x, y, dx * dx + dy * dy < r * r ? rgb : 0x00FF00FF);
    }
  }
  return bitmap;
}

struct Scene {
  std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
  TDXDraw* dxdraw = nullptr;
  TDXImageList* images = nullptr;
  TDXSpriteEngine* sprites = nullptr;
  TImageSprite* shark = nullptr;

  // sceneWidth: how far the monsters spread to the right (800: all on the screen).
  explicit Scene(double sceneWidth) {
    dxdraw = form->CreateComponent<TDXDraw>();
    dxdraw->Parent = form.get();
    dxdraw->SetAutoSize(false);
    dxdraw->SetSurfaceSize(800, 600);
    images = form->CreateComponent<TDXImageList>();
    images->SetDXDraw(dxdraw);
    sprites = form->CreateComponent<TDXSpriteEngine>();
    sprites->SetDXDraw(dxdraw);
    for (int kind = 0; kind < 13; ++kind) {
      TPictureCollectionItem* item = images->Items->Add();
      item->SetName("f" + std::to_string(kind) + "1");
      item->SetTransparentColor(0x00FF00FF);
      item->Picture().SetGraphic(monsterPicture(0x00102030u * static_cast<uint32_t>(kind + 1)));
    }
    dxdraw->Initialize();

    std::mt19937 random(1);
    for (int i = 0; i < kSprites; ++i) {
      auto* monster = TSprite::Create<BenchMonster>(*sprites->Engine);
      monster->Image = images->Items->Items(static_cast<int>(random() % 13));
      monster->Width = monster->Image->CellWidth();
      monster->Height = monster->Image->CellHeight();
      monster->PosX = std::uniform_real_distribution<double>(0, sceneWidth)(random);
      monster->PosY = std::uniform_real_distribution<double>(0, 600 - kMonsterSize)(random);
      monster->Speed = 1 + random() % 5;
      monster->SceneWidth = sceneWidth;
      monster->PixelHit = true;
      monster->SetZOrder(2);
    }
    shark = TSprite::Create<TImageSprite>(*sprites->Engine);
    shark->Image = images->Items->Items(0);
    shark->Width = shark->Height = kMonsterSize;
    shark->PosX = 368;
    shark->PosY = 268;
    shark->SetZOrder(2);
  }
};

using Clock = std::chrono::steady_clock;

double microseconds(Clock::duration d) {
  return std::chrono::duration<double, std::micro>(d).count();
}

// The median of several runs of a measurement, each averaged over kFrames frames.
template <class F>
double perFrame(F&& frame) {
  std::vector<double> runs;
  for (int run = 0; run < 5; ++run) {
    const auto start = Clock::now();
    for (int i = 0; i < kFrames; ++i) frame();
    runs.push_back(microseconds(Clock::now() - start) / kFrames);
  }
  std::sort(runs.begin(), runs.end());
  return runs[runs.size() / 2];
}

void measure(const char* title, double sceneWidth) {
  Scene scene(sceneWidth);
  TDirectDrawSurface& back = scene.dxdraw->Surface();
  int hits = 0;
  const double fill = perFrame([&] { back.Fill(0); });
  const double move = perFrame([&] { scene.sprites->Move(kLag); });
  const double draw = perFrame([&] { scene.sprites->Draw(); });
  const double collide = perFrame([&] { hits += scene.shark->CheckCollisions(); });
  const double total = move + draw + collide;
  // The same draw pass with the pictures taken away: the tree's own share of it.
  std::vector<TPictureCollectionItem*> pictures;
  for (int i = 0; i < scene.sprites->Engine->ChildCount(); ++i) {
    auto* sprite = static_cast<TImageSprite*>(scene.sprites->Engine->ChildAt(i));
    pictures.push_back(sprite->Image);
    sprite->Image = nullptr;
  }
  const double walk = perFrame([&] { scene.sprites->Draw(); });
  for (int i = 0; i < scene.sprites->Engine->ChildCount(); ++i) {
    static_cast<TImageSprite*>(scene.sprites->Engine->ChildAt(i))->Image = pictures[i];
  }
  std::printf("%s (%d sprites, %d drawn, %d hits per check):\n", title, kSprites,
              scene.sprites->Engine->DrawnCount(), scene.sprites->Engine->HitCount());
  std::printf("  move pass        %8.2f us/frame  %6.3f us/sprite\n", move, move / kSprites);
  std::printf("  draw pass        %8.2f us/frame  %6.3f us/sprite\n", draw, draw / kSprites);
  std::printf("    of which walk  %8.2f us/frame  %6.3f us/sprite  (the rest copies pixels)\n",
              walk, walk / kSprites);
  std::printf("  CheckCollisions  %8.2f us/frame  %6.3f us/sprite\n", collide, collide / kSprites);
  std::printf("  sprite work      %8.2f us/frame  %6.3f us/sprite  (goal 200 us)\n", total,
              total / kSprites);
  std::printf("  reference: Fill  %8.2f us/frame; sprite work = %.2f x Fill\n", fill, total / fill);
  if (hits < 0) std::printf("%d\n", hits);
}

}  // namespace

int main() {
  measure("Crowded frame, every monster on the screen", 800);
  measure("Level frame, monsters spread over 50000 pixels", 50000);
  return 0;
}
