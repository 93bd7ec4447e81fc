#pragma once
// The main screen's print panel: "印刷" (print), "Preview" and "差し込み印刷" (price cards).

namespace pb {

class TForm1;

// Composes the page and its objects; shows the preview, or prints on the default printer
// and tells how it went.
void ComposeAndPrint(TForm1& form, bool print);

// "差し込み印刷": the cards are made from the work as saved, so the work now open is saved first.
// Changes are offered for saving (as a new work, as everywhere on the main screen); a work that
// stays without a name is refused. Then the price-card screen opens with the panel's copies,
// feed position and reduction.
void OpenCardMerge(TForm1& form);

}  // namespace pb
