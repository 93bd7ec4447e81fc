#pragma once
// The main screen's print panel: "印刷" (print) and "Preview".

namespace pb {

class TForm1;

// Composes the page and its objects; shows the preview, or prints on the default printer
// and tells how it went.
void ComposeAndPrint(TForm1& form, bool print);

}  // namespace pb
