#pragma once
// The one game-state record, read and written directly by the screens, the frame step,
// the sprites and the handlers. Zero-filled before the main window is created.

#include <cstddef>
#include <cstdint>
#include <tuple>
#include <type_traits>

// Values of GameState.
inline constexpr int32_t gsMenu = 0;
inline constexpr int32_t gsPlay = 1;
inline constexpr int32_t gsGameOver = 2;
inline constexpr int32_t gsLevelIntro = 3;
inline constexpr int32_t gsRecords = 25;
inline constexpr int32_t gsPicture = 100;

// ResumeLock while there is no game to continue; HoverItem over no menu item.
inline constexpr int32_t kNoResume = 5;
inline constexpr int32_t kNoItem = 100;
inline constexpr int32_t kLastLevel = 10;

struct TGameVars {
  int32_t GameState = 0;
  int32_t LevelReady = 0;
  int32_t Level = 0;
  int32_t ResumeLock = 0;
  int32_t LevelBonus = 0;
  double Life = 0;
  double Hunger = 0;
  double LastLag = 0;
  double Points = 0;
  double IntroAngle = 0;
  int32_t SharkFrame = 0;
  int32_t SharkFrameTicks = 0;
  int32_t MonsterFrame = 0;
  int32_t MonsterFrameTicks = 0;
  int32_t PointerX = 0;
  int32_t PointerY = 0;
  int32_t HoverItem = 0;
};

extern TGameVars GameVars;

// Every field of TGameVars, in the order a recorded game's check of the state reads them
// (state_digest.cpp). A field added to the record that is not added here fails to compile.
inline constexpr auto kGameVarsFields = std::make_tuple(
    &TGameVars::GameState, &TGameVars::LevelReady, &TGameVars::Level, &TGameVars::ResumeLock,
    &TGameVars::LevelBonus, &TGameVars::SharkFrame, &TGameVars::SharkFrameTicks,
    &TGameVars::MonsterFrame, &TGameVars::MonsterFrameTicks, &TGameVars::PointerX,
    &TGameVars::PointerY, &TGameVars::HoverItem, &TGameVars::Life, &TGameVars::Hunger,
    &TGameVars::LastLag, &TGameVars::Points, &TGameVars::IntroAngle);

namespace game_vars_detail {
// Stands for any field's value in a brace initialiser.
struct AnyField {
  template <typename T>
  operator T() const;  // NOLINT(google-explicit-constructor): converts to every field
};
// The number of fields an aggregate has: the most values it can be brace-initialised with.
template <typename T, typename... Fields>
constexpr size_t FieldCount() {
  if constexpr (requires { T{Fields{}..., AnyField{}}; }) {
    return FieldCount<T, Fields..., AnyField>();
  } else {
    return sizeof...(Fields);
  }
}
template <typename A, typename B>
constexpr int SameField(A a, B b) {
  if constexpr (std::is_same_v<A, B>) {
    return a == b ? 1 : 0;
  } else {
    return 0;
  }
}
// No field listed twice.
constexpr bool FieldsDistinct() {
  return std::apply(
      [](auto... fields) {
        const auto listedOnce = [&](auto field) { return (SameField(field, fields) + ...) == 1; };
        return (listedOnce(fields) && ...);
      },
      kGameVarsFields);
}
}  // namespace game_vars_detail

static_assert(std::tuple_size_v<decltype(kGameVarsFields)> ==
                      game_vars_detail::FieldCount<TGameVars>() &&
                  game_vars_detail::FieldsDistinct(),
              "every field of TGameVars is listed in kGameVarsFields, once");
