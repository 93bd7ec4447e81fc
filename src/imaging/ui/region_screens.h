#pragma once
// The tool screens the region editor opens over itself. Each works on the editor's
// RegionBitmap through its RegionHost, snapshots before every change, and deletes itself when
// it closes; the editor's own controls stay usable through the holes some of them leave.

class QWidget;

namespace pb {

class RegionHost;

// "画像": the picture browser over the editor's top panel.
QWidget* OpenPictureImport(RegionHost& host);
// "回転反転", or with twoColourSplit "2色塗り分け".
QWidget* OpenRotation(RegionHost& host, bool twoColourSplit);
// "範囲内背景": the colour-key fill of the region's background.
QWidget* OpenColourKeyFill(RegionHost& host);
// "激しく変形": shaped stamps and the four-corner warp.
QWidget* OpenShapeStamp(RegionHost& host);
// "伸縮" and "色調変更".
QWidget* OpenStretch(RegionHost& host);
QWidget* OpenColourTone(RegionHost& host);

}  // namespace pb
