#pragma once
// Where the main window and its dialogs meet: the answers of a modal dialog
// and the messages of the message box. The numbers are the game's own and
// fixed: exec() returns the answers as they are, and a message's number picks
// its page.

namespace quibbix::dialogs {

namespace modal {
// What a modal dialog answers: its exec() result and ModalResult().
enum Result : int { kOk = 1, kCancel = 2, kYes = 6, kNo = 7 };
}  // namespace modal

namespace message {
// The message box's messages; message k shows page k - 1 (kMessagePageNames).
enum Kind : int {
  kWon = 1,
  kRestart = 2,
  kEndGame = 3,
  kGiveUp = 4,
  kTooSlow = 5,
  kAllSolved = 6,
  kGameOver = 7,
};
}  // namespace message

}  // namespace quibbix::dialogs
