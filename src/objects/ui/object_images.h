#pragma once
// The object images of the current work on the main screen's page: rendering a slot's record
// into its image, writing the images' positions back into their records, and the slots'
// occupancy.

#include <string>

#include "objects/strdata.h"

class QWidget;

namespace pb {

// The entry point of the screens: reads slot's record from `folder` and renders it into the
// slot's object image. `create` makes a new image ("CImg" + slot, on the main screen's page
// area), `place` moves it to the record's position at the current zoom. False, and nothing
// done, when the file is missing or empty. A record that cannot be read or drawn is reported
// by a message and its slot is left empty (false).
bool RenderObject(const std::string& folder, int slot, bool create, bool place);
// Render into the slot's existing object image (deleting and rewriting the companion).
void RenderPlainText(const std::string& folder, int slot, const ObjectRecord& rec);
void RenderDecorated(const std::string& folder, int slot, const ObjectRecord& rec);

// Writes the slot's object image's offset from the page image into its record (see
// SaveObjectPosition); nothing when the slot has no image.
void SaveObjectImagePosition(const std::string& folder, int slot, const QWidget& page, int zoom);
// SaveObjectImagePosition for every slot that holds an object image, in ascending order.
void SaveAllPositions(const QWidget& page, int zoom);

// Tells why a record was not written: "文字が長すぎ(n行まで)" for a text beyond its family's
// lines, the disk message when the file could not be written. True when it was written.
bool ReportObjectWrite(WriteStatus status, const ObjectRecord& rec);

// The highest occupied slot + 1, or 0 when all are empty; 200 means the table is full.
int FindFreeSlot();
bool AnyObject();
void FreeObject(int slot);

}  // namespace pb
