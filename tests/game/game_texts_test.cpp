// The game in English: every text it draws and every picture with words, from the menu
// through play, the level intro, game over and the name window to the records; and the
// English texts measured against the room the Russian ones have.
#include "game/game_texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "engine/graphics/image_list.h"
#include "framework/application.h"
#include "game/game_rules.h"
#include "game/in_english.h"
#include "game/main_form.h"
#include "game/program.h"
#include "game/records.h"
#include "game/screens.h"
#include "game/settings.h"
#include "platform/fake_platform.h"
#include "platform/virtual_keys.h"
#include "support/game_folder.h"
#include "support/recording_text.h"
#include "support/scripted_play.h"

namespace {

using platform::VK_RETURN;

bool hasCyrillic(const std::string& text) {
  // U+0400 to U+04FF start with these bytes in UTF-8, and no other character does.
  return text.find_first_of("\xD0\xD1\xD2\xD3") != std::string::npos;
}

TEST(GameTexts, AnEnglishGameShowsNoRussianWordFromTheMenuToTheRecords) {
  GameFolder folder;
  TRecordTable table;
  for (int k = 0; k < kRecordCount; ++k) {
    table.Names[static_cast<size_t>(k)] = "Player " + std::to_string(k + 1);
    table.Scores[static_cast<size_t>(k)] = 90 - k;  // a game of one level beats them
  }
  folder.write("Data/rec.rmw", FormatRecords(table));
  // A missing English picture is taken in Russian, with no message.
  folder.remove("Data/lang/en/menu/fon/7.bmp");
  InEnglish english;
  ASSERT_TRUE(english.found);

  platform::FakePlatform fake;
  auto recording = std::make_unique<RecordingTextRenderer>();
  const RecordingTextRenderer& text = *recording;
  fake.setText(std::move(recording));
  bool boxAtStart = true;
  std::string otherGraphic;
  std::vector<std::string> boxCaptions;
  ScriptedPlay play(fake, 16);
  play.at(100, [](ScriptedPlay& p) { p.focus(true); })
      .at(300,
          [&](ScriptedPlay& p) {
            boxAtStart = p.boxShown();
            const auto* form = dynamic_cast<TMainForm*>(Application->MainForm());
            otherGraphic =
                form->ImageList->Items->FindByName("other")->Picture().Graphic()->ClassName();
            p.click(600, 175);  // new game
          })
      .at(1500, [](ScriptedPlay&) { GameVars.Points = 100; })  // the level's target
      .at(2500, [](ScriptedPlay& p) { p.click(400, 300); })    // on from the intro
      .at(3500, [](ScriptedPlay&) { GameVars.Life = 0; })      // game over: a record
      .when([&play] { return play.boxShown(); },
            [&](ScriptedPlay& p) {
              boxCaptions.push_back(p.fake().lastWindow()->caption());
              p.type(p.topWindow(), "Ann");
              p.key(p.topWindow(), VK_RETURN);
            })
      .at(6000, [](ScriptedPlay& p) { p.click(400, 300); })  // game over to the menu
      .at(6500, [](ScriptedPlay& p) { p.click(400, 275); })  // the records
      .at(7500, [](ScriptedPlay& p) { p.close(); });
  EXPECT_EQ(PlayGame(fake, Settings{}), 0);

  EXPECT_FALSE(boxAtStart);
  EXPECT_EQ(otherGraphic, "TBitmap");  // the English overlay's file, not the stored one
  EXPECT_EQ(boxCaptions, std::vector<std::string>{"ENTER NAME!"});
  for (const DrawnText& d : text.drawn) EXPECT_FALSE(hasCyrillic(d.text)) << d.text;
  for (const char* shown : {"Version 1.2 ", "Life: 100", "Points: 0", "Hunger:0",
                            "Reach 150 points!", "Enter your name", "Ann", "Player 1"}) {
    const bool seen = std::any_of(text.drawn.begin(), text.drawn.end(),
                                  [&](const DrawnText& d) { return d.text == shown; });
    EXPECT_TRUE(seen) << shown;
  }
  EXPECT_EQ(ParseRecords(folder.read("Data/rec.rmw")).Names[0], "Ann");
}

TEST(GameTexts, EnglishTextsFitWhereTheRussianOnesStand) {
  const std::unique_ptr<platform::TextRenderer> renderer = platform::createTextRenderer();
  auto width = [&](const std::string& text, int size) {
    platform::FontSpec font;
    font.family = "Comic Sans MS";
    font.sizePoints = size;
    int w = 0;
    int h = 0;
    renderer->textExtent(text, font, w, h);
    return w;
  };
  TGameVars vars;
  vars.Life = 100;
  vars.Points = 550;
  vars.Hunger = 100;
  // Each text with its size and the room it has: to the next text of the status line or
  // the screen's edge; for the intro's target, to the level box's right end.
  struct Place {
    std::string (*text)(const TGameVars&);
    int size;
    int room;
  };
  const Place places[] = {
      {LifeText, 20, 290 - 75},
      {PointsText, 20, 560 - 290},
      {HungerText, 20, 800 - 560},
      {[](const TGameVars&) { return VersionText().Text; }, 20, 250},
      {[](const TGameVars&) {
         TGameVars intro;
         intro.Level = 8;
         return LevelIntroTexts(intro)[1].Text;
       },
       26, 575 - 245},
  };
  for (const Place& place : places) {
    const std::string russian = place.text(vars);
    InEnglish english;
    const std::string translated = place.text(vars);
    ASSERT_NE(translated, russian);
    EXPECT_LE(width(translated, place.size), std::max(width(russian, place.size), place.room))
        << translated;
  }
}

}  // namespace
