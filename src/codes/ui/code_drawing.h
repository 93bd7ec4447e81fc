#pragma once
// The region editor's code buttons: an EAN barcode or a QR code drawn into the region. They
// reach the editor through its RegionHost and never include its screen.

#include <string>

namespace pb {

class RegionHost;
class TQRCode;
struct PlacementMessage;

// "Barcode描画": the size check, the scanned or typed digits, the barcode centred on white.
void DrawBarcodeInRegion(RegionHost& host);
// "QRcode描画": the size check, the size selection and the keyboard for the text.
void DrawQrCodeInRegion(RegionHost& host);
// The keyboard's confirm in caller mode "1" with the text as CP932 bytes. False refuses
// (the keyboard stays open).
bool HandOverQrText(RegionHost& host, const std::string& cp932);

// The region editor's hidden QR component QRCode1: made on first use with module size 2 and
// Match on, it keeps the module size chosen last and goes with the editor's window.
TQRCode& RegionQrCode(RegionHost& host);

// The message box of a refusal; nothing for a refusal without a message.
void ShowPlacementMessage(const PlacementMessage& message);

}  // namespace pb
