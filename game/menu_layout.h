#pragma once
// The main menu's five items: item i (3 to 7) covers the open rectangle
// 800 - 100i < x < 1000 - 100i, 50i < y < 50i + 50 of the drawing surface.

inline constexpr int kFirstMenuItem = 3;
inline constexpr int kLastMenuItem = 7;
inline constexpr int kItemNewGame = 3;
inline constexpr int kItemContinue = 4;
inline constexpr int kItemRecords = 5;
inline constexpr int kItemPicture = 6;
inline constexpr int kItemQuit = 7;

inline bool InMenuItem(int item, int x, int y) {
  return 800 - 100 * item < x && x < 1000 - 100 * item && 50 * item < y && y < 50 * item + 50;
}

// The item under (x, y), or 0 for none.
inline int MenuItemAt(int x, int y) {
  for (int i = kFirstMenuItem; i <= kLastMenuItem; ++i) {
    if (InMenuItem(i, x, y)) return i;
  }
  return 0;
}

// Where the game's pointer goes when a key or a pad highlights item i: inside the item,
// near its lower right corner, so that the pointer shows beside the enlarged item's text
// rather than over it.
inline int MenuItemPointerX(int item) { return 982 - 100 * item; }
inline int MenuItemPointerY(int item) { return 50 * item + 40; }

// The item one step (1 down, -1 up) from current, round from the last item to the first
// and back; from no item, down takes the first and up the last. The continue item is
// passed over while there is no game to continue.
inline int NextMenuItem(int current, int step, bool continueLocked) {
  constexpr int kCount = kLastMenuItem - kFirstMenuItem + 1;
  if (step == 0) return current;
  const bool onItem = current >= kFirstMenuItem && current <= kLastMenuItem;
  int item = onItem ? current : (step > 0 ? kLastMenuItem : kFirstMenuItem);
  do {
    item = kFirstMenuItem + ((item - kFirstMenuItem + step) % kCount + kCount) % kCount;
  } while (continueLocked && item == kItemContinue);
  return item;
}
