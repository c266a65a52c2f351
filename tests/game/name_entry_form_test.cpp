#include "game/name_entry_form.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "game/game_fixture.h"
#include "platform/fake_files.h"
#include "platform/virtual_keys.h"

namespace {

using platform::VK_RETURN;

struct NameEntryTest : GameTest {
  // Ends the game with this total: its bonus plus rounded points.
  void endGame(int32_t bonus, double points) {
    GameVars.GameState = gsPlay;
    GameVars.LevelReady = 1;
    GameVars.LevelBonus = bonus;
    GameVars.Points = points;
    GameVars.Life = 0;
    frames(1);
  }
  TRecordTable saved() { return ParseRecords(folder.read("Data/rec.rmw")); }
};

TEST_F(NameEntryTest, AWindowOfItsOwnWithTheStoredLayout) {
  const platform::FakeWindow& window = *f.platform.findWindow(form1Id());
  EXPECT_EQ(window.caption(), "ВВЕДИ ИМЯ!");
  EXPECT_EQ(window.desc().width, 184);
  EXPECT_EQ(window.desc().height, 73);
  EXPECT_TRUE(window.desc().centered);
  EXPECT_FALSE(window.visible());
  EXPECT_FALSE(form1->SystemMenu);  // no close button
  EXPECT_FALSE(window.desc().titleButtons);
  EXPECT_EQ(form1->Image1->Picture.Width(), 184);
  EXPECT_EQ(form1->Image2->Picture.Width(), 73);
  EXPECT_FALSE(form1->BitBtn1->Visible);
  EXPECT_EQ(edit().Text(), "Введите имя");
}

TEST_F(NameEntryTest, OpensOnlyAboveTheTenthRecordWithTheNameSelected) {
  ASSERT_EQ(RecordScores[9], 100);
  endGame(100, 0);
  EXPECT_EQ(nameEntries, 0);  // equal to the tenth
  std::string label;
  int selected = 0;
  bool focused = false;
  // What the window shows once it is up, seen as the confirming key arrives.
  form1->OnKeyDown = [&, preview = form1->OnKeyDown](TObject* sender, uint16_t& key,
                                                     TShiftState shift) {
    label = form1->Label1->Caption;
    selected = edit().SelLength();
    focused = form1->ActiveControl == &edit();
    preview(sender, key, shift);
  };
  beforeNameEntry = [&] { f.events().pushKeyDown(form1Id(), VK_RETURN); };
  endGame(100, 1);
  EXPECT_EQ(nameEntries, 1);
  EXPECT_EQ(label, "101");
  EXPECT_TRUE(focused);
  EXPECT_EQ(selected, 11);  // all of "Введите имя"
  // The name was left as it was, and is saved as it was.
  const TRecordTable table = saved();
  EXPECT_EQ(table.Names[9], "Введите имя");
  EXPECT_EQ(table.Scores[9], 101);
  EXPECT_FALSE(f.platform.findWindow(form1Id())->visible());
  EXPECT_EQ(GameVars.GameState, gsGameOver);
}

TEST_F(NameEntryTest, TypingReplacesTheNameAndThePictureButtonSaves) {
  beforeNameEntry = [&] {
    typeInto(form1Id(), "Ёжик");
    f.events().pushMouseDown(form1Id(), 120, 55);  // on Image2
    f.events().pushMouseUp(form1Id(), 120, 55);
  };
  endGame(5000, 12);
  const TRecordTable table = saved();
  EXPECT_EQ(table.Names[0], "Ёжик");
  EXPECT_EQ(table.Scores[0], 5012);
  EXPECT_EQ(table.Names[1], "Капитан Немо");
  // Stored in Windows-1251.
  EXPECT_EQ(folder.read("Data/rec.rmw").substr(0, 6), "\xA8\xE6\xE8\xEA\r\n");
  // The next time it opens, it shows the last name, selected.
  beforeNameEntry = [&] { f.events().pushKeyDown(form1Id(), VK_RETURN); };
  endGame(5000, 0);
  EXPECT_EQ(saved().Names[1], "Ёжик");
}

TEST_F(NameEntryTest, TheTotalIsTakenWhenItOpensAndGamesFramesGoOn) {
  int ticksAtOpening = -1;
  beforeNameEntry = [&] { ticksAtOpening = main->MenuTicks; };
  afterFrame = [&] {
    if (ticksAtOpening < 0 || main->MenuTicks != ticksAtOpening + 5) return;
    // Five game-over frames later the main window's score text has moved on, and the
    // player switches away and back.
    EXPECT_EQ(main->Label1->Caption, "300");
    f.events().pushFocus(form1Id(), false);
    f.events().pushFocus(mainId(), true);
    f.events().pushFocus(form1Id(), true);
    f.events().pushClose(form1Id());  // no close button: refused
    typeInto(form1Id(), "Kit");
    f.events().pushKeyDown(form1Id(), VK_RETURN);
  };
  endGame(300, 40);
  EXPECT_EQ(form1->Label1->Caption, "340");
  EXPECT_EQ(saved().Names[8], "Kit");  // below 480, above 260
  EXPECT_EQ(saved().Scores[8], 340);
  EXPECT_GE(main->MenuTicks, ticksAtOpening + 5);
}

// A save does not refresh the table the game-over test compares with: until the records
// screen reads the file again, the tenth score read before is the threshold. A total
// between it and the file's new tenth opens the window, and its save changes nothing.
TEST_F(NameEntryTest, TheThresholdStaysTheOneReadUntilTheRecordsScreenReadsTheFile) {
  beforeNameEntry = [&] { f.events().pushKeyDown(form1Id(), VK_RETURN); };
  endGame(250, 0);
  ASSERT_EQ(nameEntries, 1);
  ASSERT_EQ(saved().Scores[9], 250);
  EXPECT_EQ(RecordScores[9], 100);
  const std::string file = folder.read("Data/rec.rmw");
  endGame(200, 0);
  EXPECT_EQ(nameEntries, 2);
  EXPECT_EQ(folder.read("Data/rec.rmw"), file);
  click(10, 10);    // back to the menu
  click(400, 275);  // the records screen reads the file
  ASSERT_EQ(GameVars.GameState, gsRecords);
  EXPECT_EQ(RecordScores[9], 250);
  endGame(200, 0);
  EXPECT_EQ(nameEntries, 2);
}

TEST_F(NameEntryTest, AFileThatCannotBeWrittenKeepsTheWindowOpenToTryAgain) {
  auto files = std::make_unique<platform::FakeFiles>();
  platform::FakeFiles& fake = *files;
  f.platform.setFiles(std::move(files));
  fake.failWritesAfter(10);  // the disk is full
  const std::string before = folder.read("Data/rec.rmw");
  bool openDuringMessage = false;
  onMessage = [&](const std::string& message) {
    if (message != "File access denied: No space left on device") return;
    openDuringMessage = f.platform.findWindow(form1Id())->visible() && form1->Modal();
    EXPECT_EQ(folder.read("Data/rec.rmw"), before);
    fake.failWritesAfter(-1);  // room again
    f.events().pushKeyDown(form1Id(), VK_RETURN);
  };
  beforeNameEntry = [&] {
    typeInto(form1Id(), "Retry");
    f.events().pushKeyDown(form1Id(), VK_RETURN);
  };
  endGame(2000, 0);
  EXPECT_EQ(messages, (std::vector<std::string>{"File access denied: No space left on device"}));
  EXPECT_TRUE(openDuringMessage);
  EXPECT_EQ(saved().Names[3], "Retry");  // below 2185
}

TEST_F(NameEntryTest, ADamagedRecordsFileIsReportedAndLeftAlone) {
  folder.write("Data/rec.rmw", "Alex\r\n715\r\nBob\r\nlots\r\n");
  onMessage = [&](const std::string& message) {
    if (message == "Invalid numeric input") f.events().pushClose(mainId());
  };
  beforeNameEntry = [&] { f.events().pushKeyDown(form1Id(), VK_RETURN); };
  endGame(900, 0);
  EXPECT_EQ(messages, (std::vector<std::string>{"Invalid numeric input"}));
  EXPECT_EQ(folder.read("Data/rec.rmw"), "Alex\r\n715\r\nBob\r\nlots\r\n");
  EXPECT_TRUE(f.app->Terminated());
}

}  // namespace
