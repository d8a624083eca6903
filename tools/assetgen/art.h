// Painters for every sheet: each draws one frame, given its index, with a
// pen whose coordinates are the frame's design units.
#pragma once

#include "canvas.h"

namespace assetgen {

// Player colours in player order: Red, Yellow, Green, Blue.
Color PlayerColor(int player);
// A player's ship in its 12-unit field frame, nose up; every picture of
// that player's ship has this silhouette.
Shape ShipHull(int player);

void PaintField(Pen& pen, int frame);       // ships, gems, shots, rocks
void PaintPower(Pen& pen, int frame);       // power-ups
void PaintSpark(Pen& pen, int frame);       // particle sparks
void PaintBadge(Pen& pen, int frame);
void PaintCircle(Pen& pen, int frame);      // rings, the mode dial
void PaintLight(Pen& pen, int frame);
void PaintPad(Pen& pen, int frame);         // on-screen pad
void PaintButton(Pen& pen, int frame);      // mode icons, cog layers, toolchain badge
void PaintIcon(Pen& pen, int frame);
void PaintTitle(Pen& pen, int frame);
void PaintMenuArt(Pen& pen, int frame);
void PaintGameIcon(Pen& pen, int frame);
void PaintStudioLogo(Pen& pen, int frame);
void PaintFontCell(Pen& pen, int frame);    // text glyphs and button glyphs
void PaintDefaultFontCell(Pen& pen, int frame);

}  // namespace assetgen
