#include "platform/rumble_motor.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using platform::HapticEffect;
using platform::HapticKind;
using platform::RumbleMotor;

struct RumbleMotorTest : ::testing::Test {
  struct Call {
    uint16_t low;
    uint16_t high;
    uint32_t ms;
  };
  std::vector<Call> calls;
  bool refuse = false;
  RumbleMotor motor{[this](uint16_t low, uint16_t high, uint32_t ms) {
    calls.push_back({low, high, ms});
    return !refuse;
  }};

  static HapticEffect effect(HapticKind kind, int magnitude, int gain, uint32_t ms) {
    HapticEffect e;
    e.kind = kind;
    e.magnitude = magnitude;
    e.gain = gain;
    e.durationMs = ms;
    return e;
  }
};

TEST_F(RumbleMotorTest, StrengthIsTheMagnitudeScaledByTheGain) {
  EXPECT_EQ(RumbleMotor::strength(effect(HapticKind::Sine, 10000, 10000, 0)), 0xFFFF);
  EXPECT_EQ(RumbleMotor::strength(effect(HapticKind::Sine, 14142, 10000, 0)), 0xFFFF);
  EXPECT_EQ(RumbleMotor::strength(effect(HapticKind::Sine, 10000, 5000, 0)), 0x7FFF);
  EXPECT_EQ(RumbleMotor::strength(effect(HapticKind::Sine, 5000, 5000, 0)), 0x3FFF);
  EXPECT_EQ(RumbleMotor::strength(effect(HapticKind::Sine, -3, 10000, 0)), 0);
  EXPECT_EQ(RumbleMotor::strength(effect(HapticKind::Sine, 10000, 20000, 0)), 0xFFFF);
}

TEST_F(RumbleMotorTest, EveryRunRumblesBothMotorsForTheEffectsLength) {
  const int h = motor.createEffect(effect(HapticKind::Sine, 10000, 10000, 50));
  ASSERT_GE(h, 0);
  EXPECT_TRUE(motor.runEffect(h, 1));
  EXPECT_TRUE(motor.runEffect(h, 3));
  EXPECT_TRUE(motor.runEffect(h, 0));
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].low, 0xFFFF);
  EXPECT_EQ(calls[0].high, 0xFFFF);
  EXPECT_EQ(calls[0].ms, 50u);
  EXPECT_EQ(calls[1].ms, 150u) << "three times the length";
  EXPECT_EQ(calls[2].ms, 50u) << "asked to run no times, an effect still rumbles its length once";
  HapticEffect endless = effect(HapticKind::Constant, 2000, 10000, 0);
  endless.infinite = true;
  const int e = motor.createEffect(endless);
  EXPECT_TRUE(motor.runEffect(e, 1));
  EXPECT_EQ(calls.back().ms, std::numeric_limits<uint32_t>::max());
  refuse = true;
  EXPECT_FALSE(motor.runEffect(e, 1)) << "a pad that refuses says so";
}

TEST_F(RumbleMotorTest, OnlyTheEffectRumblingLastIsStopped) {
  const int a = motor.createEffect(effect(HapticKind::Sine, 10000, 10000, 50));
  const int b = motor.createEffect(effect(HapticKind::Constant, 10000, 10000, 50));
  motor.runEffect(a, 1);
  EXPECT_EQ(motor.effectStatus(a), -1) << "the pad cannot tell when it ends";
  EXPECT_EQ(motor.effectStatus(b), 0);
  EXPECT_TRUE(motor.stopEffect(b));
  EXPECT_EQ(calls.size(), 1u) << "b was not rumbling";
  EXPECT_TRUE(motor.stopEffect(a));
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[1].low, 0);
  EXPECT_EQ(calls[1].ms, 0u);
  EXPECT_EQ(motor.effectStatus(a), 0);
  motor.runEffect(b, 1);
  motor.destroyEffect(b);
  EXPECT_EQ(calls.back().low, 0) << "destroying the rumbling effect stops it";
  EXPECT_FALSE(motor.runEffect(b, 1));
  EXPECT_FALSE(motor.updateEffect(b, effect(HapticKind::Sine, 1, 1, 1)));
}

TEST_F(RumbleMotorTest, ConditionsAreNotOffered) {
  for (HapticKind kind : motor.supportedKinds()) {
    EXPECT_FALSE(platform::isConditionKind(kind));
  }
  EXPECT_EQ(motor.createEffect(effect(HapticKind::Spring, 10000, 10000, 50)), -1);
  EXPECT_FALSE(motor.setAutocenter(true));
}

}  // namespace
